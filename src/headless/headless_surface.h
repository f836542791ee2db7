#pragma once

#include "headless/headless_widget.h"
#include "ports/control_surface.h"

#include <map>
#include <memory>
#include <vector>

namespace vestrak {

// The in-memory area of one control, with its widgets. Sized by the container in twips.
class HeadlessSurface final : public ControlSurface, private FocusTracker {
public:
    static constexpr double DefaultTwipsPerPixel = 15;

    HeadlessSurface(double outerWidth, double outerHeight, double border = 0,
        double twipsPerPixel = DefaultTwipsPerPixel);
    ~HeadlessSurface() override;

    // The container sizes the control; it then runs the control's resize handling itself.
    void resize(double outerWidth, double outerHeight, double border);
    [[nodiscard]] double border() const { return m_Border; }
    [[nodiscard]] int refreshCount() const { return m_RefreshCount; }

    [[nodiscard]] double twipsPerPixelX() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double twipsPerPixelY() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double innerWidth() const override { return m_OuterWidth - 2 * m_Border; }
    [[nodiscard]] double innerHeight() const override { return m_OuterHeight - 2 * m_Border; }
    [[nodiscard]] double outerWidth() const override { return m_OuterWidth; }
    [[nodiscard]] double outerHeight() const override { return m_OuterHeight; }
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    void setSizeInPixels(std::int32_t width, std::int32_t height) override;
    void refresh() override { ++m_RefreshCount; }
    void addToolTip(Widget& widget, const std::u16string& text) override;
    [[nodiscard]] std::u16string toolTip(const Widget& widget) const override;

    Tree& addTree(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    Toolbar& addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    ListBox& addListBox(const std::u16string& name, Geometry design, bool visible) override;
    TextBox& addTextBox(
        const std::u16string& name, Geometry design, TextBoxLines lines, bool visible) override;
    PictureBox& addPictureBox(const std::u16string& name, Geometry design, bool visible) override;
    CommandButton& addCommandButton(
        const std::u16string& name, Geometry design, ButtonPicture picture, bool visible) override;
    PopupMenu& addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption) override;

    [[nodiscard]] Widget* widget(std::u16string_view name) const override;
    [[nodiscard]] std::vector<Widget*> widgets() const override;
    [[nodiscard]] Widget* focusedWidget() const override { return m_Focused; }

private:
    void focusMovedTo(Widget& widget) override { m_Focused = &widget; }
    FocusTracker& focusTracker() { return *this; }
    template<typename Concrete> Concrete& keep(std::unique_ptr<Concrete> widget);

    double m_OuterWidth;
    double m_OuterHeight;
    double m_Border;
    double m_TwipsPerPixel;
    int m_RefreshCount = 0;
    std::vector<std::unique_ptr<Widget>> m_Widgets;
    std::map<const Widget*, std::u16string> m_ToolTips;
    Widget* m_Focused = nullptr;
};

} // namespace vestrak
