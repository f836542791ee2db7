#pragma once

#include "ports/widget.h"

namespace vestrak {

// What the widgets of a surface ask of it: the size of a pixel, and noting the widget that took
// the input focus and the one that lost it.
class WidgetHost {
public:
    virtual ~WidgetHost() = default;
    [[nodiscard]] virtual double twipsPerPixelX() const = 0;
    [[nodiscard]] virtual double twipsPerPixelY() const = 0;
    virtual void focusMovedTo(Widget& widget) = 0;
    // The widget lost the input focus, if it had it: it was hidden.
    virtual void focusLeft(Widget& widget) = 0;
};

} // namespace vestrak
