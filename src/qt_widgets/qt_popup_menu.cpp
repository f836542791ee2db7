#include "qt_widgets/qt_popup_menu.h"

#include "qt_widgets/qt_text.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <memory>

namespace vestrak {

QtPopupMenu::QtPopupMenu(
    std::u16string name, QtWidgetHost& host, QMenu& menu, const std::u16string& firstItemCaption)
    : PopupMenuState(std::move(name), host, firstItemCaption)
    , QtWidgetBase(menu)
    , m_Host(host)
    , m_Menu(menu)
{
    appendAction(firstItemCaption);
    QObject::connect(&m_Menu, &QMenu::aboutToHide, &context(), [this] { closedByOperator(); });
}

QAction* QtPopupMenu::action(std::int32_t index) const
{
    return m_Menu.actions().at(index);
}

void QtPopupMenu::appendAction(const std::u16string& caption)
{
    // The menu owns its actions; an action tells its index when chosen, as items move up on removal.
    QAction* added = m_Menu.addAction(toQString(caption));
    QObject::connect(added, &QAction::triggered, &context(),
        [this, added] { ItemClick(static_cast<std::int32_t>(m_Menu.actions().indexOf(added))); });
}

void QtPopupMenu::itemAdded(std::int32_t index)
{
    appendAction(caption(index));
}

void QtPopupMenu::itemRemoved(std::int32_t index)
{
    std::unique_ptr<QAction> removed(action(index));
    m_Menu.removeAction(removed.get());
}

void QtPopupMenu::captionChanged(std::int32_t index)
{
    action(index)->setText(toQString(caption(index)));
}

void QtPopupMenu::opened()
{
    m_Menu.popup(m_Host.keyboardMenuPosition().value_or(QCursor::pos()));
}

void QtPopupMenu::closed()
{
    m_Menu.hide();
}

} // namespace vestrak
