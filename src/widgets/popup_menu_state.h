#pragma once

#include "ports/popup_menu.h"
#include "widgets/widget_state.h"

#include <vector>

namespace vestrak {

// The captions of a popup menu by index from 0, and whether it is open for a choice. The menu has
// no place on the surface: it shows where it is asked to.
class PopupMenuState : public WidgetState<PopupMenu> {
public:
    PopupMenuState(std::u16string name, WidgetHost& host, const std::u16string& firstItemCaption)
        : WidgetState(std::move(name), Geometry {}, false, host)
        , m_Captions { firstItemCaption }
    {
    }

    [[nodiscard]] std::int32_t itemCount() const override
    {
        return static_cast<std::int32_t>(m_Captions.size());
    }
    bool addItem(std::int32_t index) override;
    bool removeItem(std::int32_t index) override;
    [[nodiscard]] std::u16string caption(std::int32_t index) const override;
    bool setCaption(std::int32_t index, const std::u16string& caption) override;
    void popup() override;
    bool operatorChoose(std::int32_t index) override;

protected:
    [[nodiscard]] bool holds(std::int32_t index) const { return index >= 0 && index < itemCount(); }
    // The operator closed the menu on the screen, choosing an item or not.
    void closedByOperator() { m_Open = false; }

    virtual void itemAdded(std::int32_t) { }
    virtual void itemRemoved(std::int32_t) { }
    virtual void captionChanged(std::int32_t) { }
    virtual void opened() { }
    virtual void closed() { }

private:
    std::vector<std::u16string> m_Captions;
    bool m_Open = false;
};

} // namespace vestrak
