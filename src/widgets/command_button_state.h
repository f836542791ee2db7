#pragma once

#include "ports/command_button.h"
#include "widgets/widget_state.h"

namespace vestrak {

class CommandButtonState : public WidgetState<CommandButton> {
public:
    CommandButtonState(
        std::u16string name, const Geometry& design, bool visible, WidgetHost& host, ButtonPicture picture)
        : WidgetState(std::move(name), design, visible, host)
        , m_Picture(picture)
    {
    }

    [[nodiscard]] ButtonPicture picture() const override { return m_Picture; }
    bool operatorClick() override
    {
        if (!visible())
            return false;
        Click();
        return true;
    }

private:
    ButtonPicture m_Picture;
};

} // namespace vestrak
