#pragma once

#include "ports/widget.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace vestrak {

// What a Qt widget adapter needs of the surface it sits on.
class QtWidgetHost {
public:
    virtual ~QtWidgetHost() = default;
    [[nodiscard]] virtual double twipsPerPixelX() const = 0;
    [[nodiscard]] virtual double twipsPerPixelY() const = 0;
    virtual void focusMovedTo(Widget& widget) = 0;

    // Where a popup menu opens while the keyboard asks for one (beside the row it is for);
    // unset, a menu opens at the mouse.
    [[nodiscard]] std::optional<QPoint> keyboardMenuPosition() const { return m_KeyboardMenuPosition; }
    void setKeyboardMenuPosition(std::optional<QPoint> position) { m_KeyboardMenuPosition = position; }

private:
    std::optional<QPoint> m_KeyboardMenuPosition;
};

// Whether the surface places and shows the widget, or the widget shows itself where it is asked
// to (a popup menu).
enum class Placement { OnSurface, Floating };

// The Qt widget behind a port widget, for the surface (tooltips, focus) and for hosts.
class QtWidgetBase {
public:
    explicit QtWidgetBase(QWidget& widget)
        : m_Widget(&widget)
    {
    }
    virtual ~QtWidgetBase() = default;

    [[nodiscard]] QWidget* qtWidget() const { return m_Widget.data(); }

private:
    QPointer<QWidget> m_Widget;
};

// Geometry, visibility and focus of a Qt widget. The twips the control set are kept and read back
// unchanged; only the pixels handed to Qt are rounded. The Qt widget belongs to the surface's
// widget tree; connections made with context() end with the adapter.
template<typename Port> class QtWidget : public Port, public QtWidgetBase {
public:
    QtWidget(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QWidget& widget,
        Placement placement = Placement::OnSurface)
        : QtWidgetBase(widget)
        , m_Name(std::move(name))
        , m_Geometry(design)
        , m_Visible(visible)
        , m_Host(host)
        , m_Placement(placement)
    {
        if (m_Placement == Placement::OnSurface) {
            widget.setGeometry(pixelRect());
            widget.setVisible(visible);
        }
    }

    [[nodiscard]] const std::u16string& name() const override { return m_Name; }
    [[nodiscard]] double left() const override { return m_Geometry.left; }
    [[nodiscard]] double top() const override { return m_Geometry.top; }
    [[nodiscard]] double width() const override { return m_Geometry.width; }
    [[nodiscard]] double height() const override { return m_Geometry.height; }
    void setLeft(double twips) override
    {
        m_Geometry.left = twips;
        place();
    }
    void setTop(double twips) override
    {
        m_Geometry.top = twips;
        place();
    }
    bool setWidth(double twips) override
    {
        if (twips < 0)
            return false;
        m_Geometry.width = twips;
        place();
        return true;
    }
    bool setHeight(double twips) override
    {
        if (twips < 0)
            return false;
        m_Geometry.height = twips;
        place();
        return true;
    }
    [[nodiscard]] bool visible() const override { return m_Visible; }
    void setVisible(bool visible) override
    {
        m_Visible = visible;
        if (m_Placement == Placement::OnSurface && qtWidget())
            qtWidget()->setVisible(visible);
    }
    bool setFocus() override
    {
        if (!m_Visible)
            return false;
        if (qtWidget())
            qtWidget()->setFocus(Qt::OtherFocusReason);
        m_Host.focusMovedTo(*this);
        return true;
    }

protected:
    // Hands the current geometry to Qt; adapters whose size follows their content call it again.
    void place()
    {
        if (m_Placement == Placement::OnSurface && qtWidget())
            qtWidget()->setGeometry(pixelRect());
    }

    [[nodiscard]] QtWidgetHost& host() const { return m_Host; }
    [[nodiscard]] QObject& context() { return m_Context; }

private:
    [[nodiscard]] QRect pixelRect() const
    {
        const auto pixels
            = [](double twips, double perPixel) { return static_cast<int>(std::lround(twips / perPixel)); };
        const double perX = m_Host.twipsPerPixelX();
        const double perY = m_Host.twipsPerPixelY();
        return QRect(pixels(this->left(), perX), pixels(this->top(), perY), pixels(this->width(), perX),
            pixels(this->height(), perY));
    }

    std::u16string m_Name;
    Geometry m_Geometry;
    bool m_Visible;
    QtWidgetHost& m_Host;
    Placement m_Placement;
    QObject m_Context;
};

} // namespace vestrak
