#pragma once

#include "ports/toolbar.h"
#include "widgets/widget_state.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace vestrak {

class ToolbarState;

// A button while its toolbar has it; once removed it reads empty and ignores changes.
class ToolbarButtonState final : public ToolbarButton {
public:
    ToolbarButtonState(ToolbarState& toolbar, std::u16string key, std::int32_t image);

    [[nodiscard]] bool exists() const override { return m_Toolbar != nullptr; }
    [[nodiscard]] std::u16string key() const override { return exists() ? m_Key : std::u16string(); }
    [[nodiscard]] std::int32_t image() const override { return exists() ? m_Image : 0; }
    [[nodiscard]] std::int32_t value() const override { return exists() ? m_Value : 0; }
    void setValue(std::int32_t value) override;
    [[nodiscard]] std::u16string toolTipText() const override
    {
        return exists() ? m_ToolTip : std::u16string();
    }
    void setToolTipText(const std::u16string& text) override;

private:
    friend class ToolbarState;

    ToolbarState* m_Toolbar;
    std::u16string m_Key;
    std::int32_t m_Image = 0;
    std::int32_t m_Value = 0;
    std::u16string m_ToolTip;
};

// The buttons of a toolbar and how they flow: 22 x 22 pixels, left to right, wrapping at the width
// the control set (until then the toolbar is as wide as its buttons side by side).
class ToolbarState : public WidgetState<Toolbar> {
public:
    static constexpr int ButtonSizePixels = 22;

    ToolbarState(
        std::u16string name, const Geometry& design, bool visible, WidgetHost& host, ImageList images);
    ~ToolbarState() override;
    ToolbarState(const ToolbarState&) = delete;
    ToolbarState& operator=(const ToolbarState&) = delete;

    [[nodiscard]] ImageList imageList() const override { return m_Images; }
    [[nodiscard]] double width() const override;
    [[nodiscard]] double height() const override;
    bool setWidth(double twips) override;
    // The height follows from the buttons and the width: refused.
    bool setHeight(double twips) override;

    ButtonRef addButton(const std::u16string& key, std::int32_t image) override;
    void clearButtons() override;
    [[nodiscard]] std::int32_t buttonCount() const override;
    [[nodiscard]] ButtonRef button(std::int32_t index) const override;
    [[nodiscard]] ButtonRef findButton(const std::u16string& key) const override;
    bool operatorClick(const std::u16string& key) override;

protected:
    // The button's state toggles, then ButtonClick: for the operator's mouse and keyboard alike.
    void press(const ButtonRef& button);
    [[nodiscard]] int buttonsPerRow() const;
    // The button's place from the toolbar's top left corner, in pixels.
    [[nodiscard]] std::pair<int, int> buttonOrigin(std::size_t position) const;
    [[nodiscard]] std::size_t positionOf(const ToolbarButton& button) const;

    virtual void buttonAdded(const ToolbarButtonState&) { }
    virtual void buttonsCleared() { }
    virtual void buttonChanged(const ToolbarButtonState&) { }

private:
    friend class ToolbarButtonState;

    ImageList m_Images;
    std::optional<double> m_WidthSet;
    std::vector<std::shared_ptr<ToolbarButtonState>> m_Buttons;
};

} // namespace vestrak
