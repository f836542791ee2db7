#include "qt/qt_popup_menu.h"

#include "qt/qt_text.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <memory>

namespace vestrak {

QtPopupMenu::QtPopupMenu(
    std::u16string name, QtWidgetHost& host, QMenu& menu, const std::u16string& firstItemCaption)
    : QtWidget(std::move(name), Geometry {}, false, host, menu, Placement::Floating)
    , m_Menu(menu)
{
    appendItem(firstItemCaption);
}

std::int32_t QtPopupMenu::itemCount() const
{
    return static_cast<std::int32_t>(m_Menu.actions().size());
}

QAction* QtPopupMenu::item(std::int32_t index) const
{
    return holds(index) ? m_Menu.actions().at(index) : nullptr;
}

void QtPopupMenu::appendItem(const std::u16string& caption)
{
    // The menu owns its actions; an action tells its index when chosen, as items move up on removal.
    QAction* action = m_Menu.addAction(toQString(caption));
    QObject::connect(action, &QAction::triggered, &context(),
        [this, action] { ItemClick(static_cast<std::int32_t>(m_Menu.actions().indexOf(action))); });
}

bool QtPopupMenu::addItem(std::int32_t index)
{
    if (index != itemCount())
        return false;
    appendItem({});
    return true;
}

bool QtPopupMenu::removeItem(std::int32_t index)
{
    if (index == 0 || index != itemCount() - 1)
        return false;
    std::unique_ptr<QAction> removed(item(index));
    m_Menu.removeAction(removed.get());
    return true;
}

std::u16string QtPopupMenu::caption(std::int32_t index) const
{
    QAction* action = item(index);
    return action ? fromQString(action->text()) : std::u16string();
}

bool QtPopupMenu::setCaption(std::int32_t index, const std::u16string& caption)
{
    QAction* action = item(index);
    if (!action)
        return false;
    action->setText(toQString(caption));
    return true;
}

void QtPopupMenu::popup()
{
    m_Menu.popup(host().keyboardMenuPosition().value_or(QCursor::pos()));
    Shown();
}

bool QtPopupMenu::operatorChoose(std::int32_t index)
{
    QAction* action = item(index);
    if (!action || !m_Menu.isVisible())
        return false;
    m_Menu.hide();
    action->trigger();
    return true;
}

} // namespace vestrak
