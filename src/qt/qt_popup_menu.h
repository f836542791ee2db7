#pragma once

#include "ports/popup_menu.h"
#include "qt/qt_widget.h"

class QAction;
class QMenu;

namespace vestrak {

// The popup menu port on a QMenu whose actions are the items, by index from 0. Showing it never
// waits for the operator: the choice comes later through the item's action.
class QtPopupMenu final : public QtWidget<PopupMenu> {
public:
    QtPopupMenu(std::u16string name, QtWidgetHost& host, QMenu& menu, const std::u16string& firstItemCaption);

    [[nodiscard]] std::int32_t itemCount() const override;
    bool addItem(std::int32_t index) override;
    bool removeItem(std::int32_t index) override;
    [[nodiscard]] std::u16string caption(std::int32_t index) const override;
    bool setCaption(std::int32_t index, const std::u16string& caption) override;
    void popup() override;
    bool operatorChoose(std::int32_t index) override;

private:
    [[nodiscard]] bool holds(std::int32_t index) const { return index >= 0 && index < itemCount(); }
    [[nodiscard]] QAction* item(std::int32_t index) const;
    void appendItem(const std::u16string& caption);

    QMenu& m_Menu;
};

} // namespace vestrak
