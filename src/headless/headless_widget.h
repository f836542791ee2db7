#pragma once

#include "ports/widget.h"

#include <string>
#include <utility>

namespace vestrak {

// Told when a widget takes the input focus, so the surface knows which one has it.
class FocusTracker {
public:
    virtual ~FocusTracker() = default;
    virtual void focusMovedTo(Widget& widget) = 0;
};

// Geometry, visibility and focus of an in-memory widget: kept exactly as the control set them.
template<typename Port> class HeadlessWidget : public Port {
public:
    HeadlessWidget(std::u16string name, const Geometry& design, bool visible, FocusTracker& focus)
        : m_Name(std::move(name))
        , m_Geometry(design)
        , m_Visible(visible)
        , m_Focus(focus)
    {
    }

    [[nodiscard]] const std::u16string& name() const override { return m_Name; }
    [[nodiscard]] double left() const override { return m_Geometry.left; }
    [[nodiscard]] double top() const override { return m_Geometry.top; }
    [[nodiscard]] double width() const override { return m_Geometry.width; }
    [[nodiscard]] double height() const override { return m_Geometry.height; }
    void setLeft(double twips) override { m_Geometry.left = twips; }
    void setTop(double twips) override { m_Geometry.top = twips; }
    bool setWidth(double twips) override
    {
        if (twips < 0)
            return false;
        m_Geometry.width = twips;
        return true;
    }
    bool setHeight(double twips) override
    {
        if (twips < 0)
            return false;
        m_Geometry.height = twips;
        return true;
    }
    [[nodiscard]] bool visible() const override { return m_Visible; }
    void setVisible(bool visible) override { m_Visible = visible; }
    bool setFocus() override
    {
        if (!m_Visible)
            return false;
        m_Focus.focusMovedTo(*this);
        return true;
    }

private:
    std::u16string m_Name;
    Geometry m_Geometry;
    bool m_Visible = true;
    FocusTracker& m_Focus;
};

} // namespace vestrak
