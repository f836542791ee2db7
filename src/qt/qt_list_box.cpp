#include "qt/qt_list_box.h"

#include "qt/qt_colors.h"
#include "qt/qt_text.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

namespace vestrak {

namespace {
constexpr int DataRole = Qt::UserRole;
}

QtListBox::QtListBox(
    std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QListWidget& list)
    : QtWidget(std::move(name), design, visible, host, list)
    , m_List(list)
{
    m_List.setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(&m_List, &QListWidget::itemClicked, &context(),
        [this](QListWidgetItem* item) { clickRow(m_List.row(item)); });
    QObject::connect(&m_List, &QListWidget::itemDoubleClicked, &context(), [this] { DblClick(); });
}

void QtListBox::addItem(const std::u16string& text)
{
    const QSignalBlocker quiet(&m_List);
    m_List.addItem(toQString(text));
    m_NewIndex = count() - 1;
    m_List.item(m_NewIndex)->setData(DataRole, 0);
}

void QtListBox::clear()
{
    const QSignalBlocker quiet(&m_List);
    m_List.clear();
    m_NewIndex = -1;
}

std::int32_t QtListBox::count() const
{
    return m_List.count();
}

std::u16string QtListBox::itemText(std::int32_t index) const
{
    return holds(index) ? fromQString(m_List.item(index)->text()) : std::u16string();
}

std::int32_t QtListBox::listIndex() const
{
    const QList<QListWidgetItem*> selected = m_List.selectedItems();
    return selected.isEmpty() ? -1 : m_List.row(selected.first());
}

bool QtListBox::setListIndex(std::int32_t index)
{
    if (index != -1 && !holds(index))
        return false;
    const QSignalBlocker quiet(&m_List);
    m_List.setCurrentRow(index);
    if (index == -1)
        m_List.clearSelection();
    return true;
}

std::int32_t QtListBox::itemData(std::int32_t index) const
{
    return holds(index) ? m_List.item(index)->data(DataRole).toInt() : 0;
}

bool QtListBox::setItemData(std::int32_t index, std::int32_t data)
{
    if (!holds(index))
        return false;
    m_List.item(index)->setData(DataRole, data);
    return true;
}

bool QtListBox::setBackColor(std::uint32_t color)
{
    m_BackColor = color;
    QPalette palette = m_List.palette();
    palette.setColor(QPalette::Base, toQColor(color, QApplication::palette(&m_List)));
    m_List.setPalette(palette);
    return true;
}

// The row becomes the list index, then Click: under the operator's mouse and for the operator
// action alike.
void QtListBox::clickRow(int row)
{
    setListIndex(row);
    Click();
}

bool QtListBox::operatorClick(std::int32_t index)
{
    if (!visible() || !holds(index))
        return false;
    clickRow(index);
    return true;
}

bool QtListBox::operatorDoubleClick(std::int32_t index)
{
    if (!operatorClick(index))
        return false;
    DblClick();
    return true;
}

} // namespace vestrak
