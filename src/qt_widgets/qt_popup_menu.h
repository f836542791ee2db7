#pragma once

#include "qt_widgets/qt_widget.h"
#include "widgets/popup_menu_state.h"

class QAction;
class QMenu;

namespace vestrak {

// The popup menu drawn by a QMenu whose actions are the items, by index from 0. Showing it never
// waits for the operator: the choice comes later through the item's action.
class QtPopupMenu final : public PopupMenuState, public QtWidgetBase {
public:
    QtPopupMenu(std::u16string name, QtWidgetHost& host, QMenu& menu, const std::u16string& firstItemCaption);

private:
    void itemAdded(std::int32_t index) override;
    void itemRemoved(std::int32_t index) override;
    void captionChanged(std::int32_t index) override;
    void opened() override;
    void closed() override;
    void appendAction(const std::u16string& caption);
    [[nodiscard]] QAction* action(std::int32_t index) const;

    QtWidgetHost& m_Host;
    QMenu& m_Menu;
};

} // namespace vestrak
