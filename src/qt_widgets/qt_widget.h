#pragma once

#include "qt_widgets/accessible_names.h"
#include "widgets/widget_state.h"

#include <QApplication>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace vestrak {

// What a Qt widget adapter needs of the surface it sits on, beyond what every widget does.
class QtWidgetHost : public virtual WidgetHost {
public:
    // Where a popup menu opens while the keyboard asks for one (beside the row it is for);
    // unset, a menu opens at the mouse.
    [[nodiscard]] std::optional<QPoint> keyboardMenuPosition() const { return m_KeyboardMenuPosition; }
    void setKeyboardMenuPosition(std::optional<QPoint> position) { m_KeyboardMenuPosition = position; }

private:
    std::optional<QPoint> m_KeyboardMenuPosition;
};

// The Qt widget behind a port widget, for the surface (tooltips, focus) and for hosts. Connections
// made with context() end with the adapter.
class QtWidgetBase {
public:
    explicit QtWidgetBase(QWidget& widget)
        : m_Widget(&widget)
    {
    }
    virtual ~QtWidgetBase() = default;

    [[nodiscard]] QWidget* qtWidget() const { return m_Widget.data(); }

protected:
    [[nodiscard]] QObject& context() { return m_Context; }

private:
    QPointer<QWidget> m_Widget;
    QObject m_Context;
};

// A widget's state drawn by a Qt widget on the surface. The twips the control set are kept and read
// back unchanged; only the pixels handed to Qt are rounded. The Qt widget belongs to the surface's
// widget tree. Kind is a port (the common state) or a kind's own state class.
template<typename Kind> class QtWidget : public StateOf<Kind>, public QtWidgetBase {
public:
    template<typename... StateArguments>
    QtWidget(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QWidget& widget,
        StateArguments&&... state)
        : StateOf<Kind>(std::move(name), design, visible, host, std::forward<StateArguments>(state)...)
        , QtWidgetBase(widget)
        , m_Host(host)
    {
        widget.setGeometry(pixelRect());
        widget.setVisible(visible);
        widget.setAccessibleName(accessibleNameOf(this->name()));
    }

protected:
    // Hands the current geometry to Qt; adapters whose size follows their content call it again.
    void place()
    {
        if (qtWidget())
            qtWidget()->setGeometry(pixelRect());
    }
    void geometryChanged() override { place(); }
    void visibilityChanged() override
    {
        QWidget* widget = qtWidget();
        if (!widget)
            return;
        // Qt would hand the focus of a widget it hides to the next one along, often another
        // control's; it stays on this control's area, for the control to place.
        const QWidget* focused = QApplication::focusWidget();
        if (!this->visible() && focused && (widget == focused || widget->isAncestorOf(focused))
            && widget->parentWidget())
            widget->parentWidget()->setFocus(Qt::OtherFocusReason);
        widget->setVisible(this->visible());
    }
    void focusTaken() override
    {
        if (qtWidget())
            qtWidget()->setFocus(Qt::OtherFocusReason);
    }

    [[nodiscard]] QtWidgetHost& host() const { return m_Host; }

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

    QtWidgetHost& m_Host;
};

} // namespace vestrak
