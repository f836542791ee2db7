#include "page_rows.h"

#include <QAbstractItemModel>
#include <QMetaProperty>
#include <QTreeView>
#include <vestrak/qt/cistatus_widget.h>
#include <vestrak/qt/citree_widget.h>

namespace {

// The view is given the rows it shows, top to bottom, and indents each by its depth.
void printRows(const QTreeView& view, QTextStream& out)
{
    const QAbstractItemModel& model = *view.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        const int depth = view.visualRect(index).left() / view.indentation();
        out << QString(2 * depth, ' ') << model.data(index).toString() << '\n';
    }
}

void printControl(const QWidget& control, const QStringList& propertyNames, QTextStream& out)
{
    out << control.objectName() << " (" << control.metaObject()->className() << ")";
    const QMetaObject& meta = *control.metaObject();
    for (const QString& name : propertyNames) {
        const QVariant value = control.property(name.toUtf8());
        if (!value.isValid())
            continue;
        // Style and Behaviour as their bits' number, as reference.md lists them.
        const bool bits = meta.property(meta.indexOfProperty(name.toUtf8())).isFlagType();
        out << ' ' << name << '=' << (bits ? QString::number(value.toInt()) : value.toString());
    }
    out << '\n';
    for (const QTreeView* view : control.findChildren<QTreeView*>()) {
        if (view->isVisibleTo(&control) && view->model())
            printRows(*view, out);
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
