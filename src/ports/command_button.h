#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

namespace vestrak {

/// The small pictures of the command buttons.
enum class ButtonPicture {
    House, ///< 16 x 16, in colour
    TriangleDown, ///< 16 x 16, black, pointing down
    TriangleUp, ///< 16 x 16, black, pointing up
    LowerRightCorner, ///< 6 x 6, black right-angled triangle filling the lower right half
    TriangleLeft, ///< 5 x 9, black, pointing left
};

/// A push button showing one of the small pictures.
class CommandButton : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::CommandButton; }
    /// The picture it shows, chosen when the surface made it.
    [[nodiscard]] virtual ButtonPicture picture() const = 0;

    /// Raised when the operator clicks the button.
    Signal<> Click;

    /// False when the button is hidden.
    virtual bool operatorClick() = 0;
};

} // namespace vestrak
