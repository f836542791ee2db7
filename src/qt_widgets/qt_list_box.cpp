#include "qt_widgets/qt_list_box.h"

#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_text.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

namespace vestrak {

QtListBox::QtListBox(
    std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QListWidget& list)
    : QtWidget(std::move(name), design, visible, host, list)
    , m_List(list)
{
    m_List.setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(&m_List, &QListWidget::itemSelectionChanged, &context(), [this] { followSelection(); });
    QObject::connect(&m_List, &QListWidget::itemClicked, &context(),
        [this](QListWidgetItem* item) { clickItem(m_List.row(item)); });
    QObject::connect(&m_List, &QListWidget::itemDoubleClicked, &context(), [this] { DblClick(); });
}

// The operator's mouse or keyboard moved the selection.
void QtListBox::followSelection()
{
    const QList<QListWidgetItem*> selected = m_List.selectedItems();
    setListIndex(selected.isEmpty() ? -1 : m_List.row(selected.first()));
}

void QtListBox::itemAdded(std::int32_t index)
{
    const QSignalBlocker quiet(&m_List);
    m_List.addItem(toQString(itemText(index)));
}

void QtListBox::itemsCleared()
{
    const QSignalBlocker quiet(&m_List);
    m_List.clear();
}

void QtListBox::listIndexChanged()
{
    const QSignalBlocker quiet(&m_List);
    m_List.setCurrentRow(listIndex());
    if (listIndex() == -1)
        m_List.clearSelection();
}

void QtListBox::backColorChanged()
{
    QPalette palette = m_List.palette();
    palette.setColor(QPalette::Base, toQColor(backColor(), QApplication::palette(&m_List)));
    m_List.setPalette(palette);
}

} // namespace vestrak
