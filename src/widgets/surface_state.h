#pragma once

#include "ports/control_surface.h"
#include "widgets/widget_host.h"

#include <map>
#include <memory>
#include <vector>

namespace vestrak {

enum class ResizedBy { Container, Control };

// The area of one control: its outer size with a border on each side, kept in twips as given, and
// the widgets on it with their tooltips and the widget that took the focus last. A widget set
// adds the widgets it makes, and follows size and tooltip changes through the protected hooks.
class SurfaceState : public ControlSurface, protected virtual WidgetHost {
public:
    SurfaceState(double outerWidth, double outerHeight, double border, double twipsPerPixel);
    ~SurfaceState() override;
    SurfaceState(const SurfaceState&) = delete;
    SurfaceState& operator=(const SurfaceState&) = delete;

    // The container sizes the control; it then runs the control's resize handling itself.
    void resize(double outerWidth, double outerHeight, double border);
    [[nodiscard]] double border() const { return m_Border; }

    [[nodiscard]] double twipsPerPixelX() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double twipsPerPixelY() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double innerWidth() const override { return m_OuterWidth - 2 * m_Border; }
    [[nodiscard]] double innerHeight() const override { return m_OuterHeight - 2 * m_Border; }
    [[nodiscard]] double outerWidth() const override { return m_OuterWidth; }
    [[nodiscard]] double outerHeight() const override { return m_OuterHeight; }
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    void setSizeInPixels(std::int32_t width, std::int32_t height) override;
    void addToolTip(Widget& widget, const std::u16string& text) override;
    [[nodiscard]] std::u16string toolTip(const Widget& widget) const override;

    [[nodiscard]] Widget* widget(std::u16string_view name) const override;
    [[nodiscard]] std::vector<Widget*> widgets() const override;
    [[nodiscard]] Widget* focusedWidget() const override { return m_Focused; }

protected:
    void focusMovedTo(Widget& widget) override { m_Focused = &widget; }
    void focusLeft(Widget& widget) override
    {
        if (m_Focused == &widget)
            m_Focused = nullptr;
    }
    // The input focus went to something that is none of the surface's widgets.
    void focusLeftTheControl() { m_Focused = nullptr; }

    template<typename Concrete> Concrete& keep(std::unique_ptr<Concrete> widget)
    {
        m_Widgets.push_back(std::move(widget));
        return static_cast<Concrete&>(*m_Widgets.back());
    }
    void removeWidgets() { m_Widgets.clear(); }

    virtual void resized(ResizedBy) { }
    virtual void toolTipChanged(Widget&, const std::u16string&) { }

private:
    double m_OuterWidth;
    double m_OuterHeight;
    double m_Border;
    double m_TwipsPerPixel;
    std::vector<std::unique_ptr<Widget>> m_Widgets;
    std::map<const Widget*, std::u16string> m_ToolTips;
    Widget* m_Focused = nullptr;
};

} // namespace vestrak
