#pragma once

#include "widgets/widget_host.h"

#include <string>
#include <type_traits>
#include <utility>

namespace vestrak {

// Name, geometry, visibility and focus of a widget, kept exactly as the control set them. A widget
// set that draws the widget follows the changes through the protected hooks.
template<typename Port> class WidgetState : public Port {
public:
    WidgetState(std::u16string name, const Geometry& design, bool visible, WidgetHost& host)
        : m_Name(std::move(name))
        , m_Geometry(design)
        , m_Visible(visible)
        , m_Host(host)
    {
    }

    [[nodiscard]] const std::u16string& name() const override { return m_Name; }
    [[nodiscard]] double left() const override { return m_Geometry.left; }
    [[nodiscard]] double top() const override { return m_Geometry.top; }
    [[nodiscard]] double width() const override { return m_Geometry.width; }
    [[nodiscard]] double height() const override { return m_Geometry.height; }
    void setLeft(double twips) override { changeGeometry(m_Geometry.left, twips); }
    void setTop(double twips) override { changeGeometry(m_Geometry.top, twips); }
    bool setWidth(double twips) override
    {
        if (twips < 0)
            return false;
        changeGeometry(m_Geometry.width, twips);
        return true;
    }
    bool setHeight(double twips) override
    {
        if (twips < 0)
            return false;
        changeGeometry(m_Geometry.height, twips);
        return true;
    }
    [[nodiscard]] bool visible() const override { return m_Visible; }
    void setVisible(bool visible) override
    {
        if (m_Visible == visible)
            return;
        m_Visible = visible;
        visibilityChanged();
        if (!visible)
            m_Host.focusLeft(*this);
    }
    bool setFocus() override
    {
        if (!m_Visible)
            return false;
        focusTaken();
        m_Host.focusMovedTo(*this);
        return true;
    }

protected:
    virtual void geometryChanged() { }
    virtual void visibilityChanged() { }
    virtual void focusTaken() { }

    [[nodiscard]] WidgetHost& widgetHost() const { return m_Host; }

private:
    void changeGeometry(double& kept, double twips)
    {
        if (kept == twips)
            return;
        kept = twips;
        geometryChanged();
    }

    std::u16string m_Name;
    Geometry m_Geometry;
    bool m_Visible = true;
    WidgetHost& m_Host;
};

// The state a widget set builds on: a kind's own state class, or for a bare port the common state.
template<typename PortOrState>
using StateOf = std::conditional_t<std::is_abstract_v<PortOrState>, WidgetState<PortOrState>, PortOrState>;

} // namespace vestrak
