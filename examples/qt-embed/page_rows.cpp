#include "page_rows.h"

#include <QAbstractItemModel>
#include <QTreeView>
#include <vestrak/qt/cistatus_widget.h>
#include <vestrak/qt/citree_widget.h>

namespace {

void printRows(const QAbstractItemModel& model, const QModelIndex& parent, int depth, QTextStream& out)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        out << QString(2 * depth, ' ') << model.data(index).toString() << '\n';
        printRows(model, index, depth + 1, out);
    }
}

void printControl(const QWidget& control, const QStringList& propertyNames, QTextStream& out)
{
    out << control.objectName() << " (" << control.metaObject()->className() << ")";
    for (const QString& name : propertyNames) {
        const QVariant value = control.property(name.toUtf8());
        if (value.isValid())
            out << ' ' << name << '=' << value.toString();
    }
    out << '\n';
    for (const QTreeView* view : control.findChildren<QTreeView*>()) {
        if (view->isVisibleTo(&control) && view->model())
            printRows(*view->model(), {}, 1, out);
    }
}

} // namespace

void printPageRows(const QWidget& page, const QStringList& propertyNames, QTextStream& out)
{
    for (const QWidget* control : page.findChildren<vestrak::CiTreeWidget*>())
        printControl(*control, propertyNames, out);
    for (const QWidget* control : page.findChildren<vestrak::CiStatusWidget*>())
        printControl(*control, propertyNames, out);
}
