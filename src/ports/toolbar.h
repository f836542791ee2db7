#pragma once

#include "../ports/image_lists.h"
#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vestrak {

class ToolbarButton;
/// A handle to a button; safe after the button has been removed (empty values, changes ignored).
using ButtonRef = std::shared_ptr<ToolbarButton>;

/// A check-style toolbar button: its pressed state toggles on each click.
class ToolbarButton {
public:
    virtual ~ToolbarButton() = default;

    /// False once the button has been removed (or the buttons cleared).
    [[nodiscard]] virtual bool exists() const = 0;
    /// The key it was added with, unique in its toolbar.
    [[nodiscard]] virtual std::u16string key() const = 0;
    /// Its image in the toolbar's image list, from 1 (0 none).
    [[nodiscard]] virtual std::int32_t image() const = 0;
    /// 1 pressed, 0 not.
    [[nodiscard]] virtual std::int32_t value() const = 0;
    /// Presses (1) or releases (0) the button; raises no event.
    virtual void setValue(std::int32_t value) = 0;
    ///@{
    /// The tooltip shown over the button.
    [[nodiscard]] virtual std::u16string toolTipText() const = 0;
    virtual void setToolTipText(const std::u16string& text) = 0;
    ///@}
};

/// A toolbar of check buttons. Buttons are 22 x 22 pixels and flow left to right, wrapping into
/// rows; the height is the number of rows (at least one) times 22 pixels. Until the control sets
/// a width, the toolbar is as wide as its buttons side by side.
class Toolbar : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::Toolbar; }
    /// The image list its buttons take their images from.
    [[nodiscard]] virtual ImageList imageList() const = 0;

    /// Appends a button; null when the key is taken. An image the list lacks shows no image.
    virtual ButtonRef addButton(const std::u16string& key, std::int32_t image) = 0;
    /// Removes every button.
    virtual void clearButtons() = 0;
    /// The number of buttons.
    [[nodiscard]] virtual std::int32_t buttonCount() const = 0;
    /// By position from 1; null outside 1 to buttonCount.
    [[nodiscard]] virtual ButtonRef button(std::int32_t index) const = 0;
    /// Null when no button has that key.
    [[nodiscard]] virtual ButtonRef findButton(const std::u16string& key) const = 0;

    /// Raised with the button the operator clicked, after its state toggled.
    Signal<const ButtonRef&> ButtonClick;

    /// The operator clicks the button: its state toggles, then ButtonClick. False when the
    /// toolbar is hidden or has no such button.
    virtual bool operatorClick(const std::u16string& key) = 0;
};

} // namespace vestrak
