#pragma once

#include "../ports/image_lists.h"
#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vestrak {

class ToolbarButton;
// A handle to a button; safe after the button has been removed (empty values, changes ignored).
using ButtonRef = std::shared_ptr<ToolbarButton>;

// A check-style toolbar button: its pressed state toggles on each click.
class ToolbarButton {
public:
    virtual ~ToolbarButton() = default;

    [[nodiscard]] virtual bool exists() const = 0;
    [[nodiscard]] virtual std::u16string key() const = 0;
    [[nodiscard]] virtual std::int32_t image() const = 0;
    // 1 pressed, 0 not.
    [[nodiscard]] virtual std::int32_t value() const = 0;
    virtual void setValue(std::int32_t value) = 0;
    [[nodiscard]] virtual std::u16string toolTipText() const = 0;
    virtual void setToolTipText(const std::u16string& text) = 0;
};

// A toolbar of check buttons. Buttons are 22 x 22 pixels and flow left to right, wrapping into
// rows; the height is the number of rows (at least one) times 22 pixels. Until the control sets
// a width, the toolbar is as wide as its buttons side by side.
class Toolbar : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::Toolbar; }
    [[nodiscard]] virtual ImageList imageList() const = 0;

    // Appends a button; null when the key is taken. An image the list lacks shows no image.
    virtual ButtonRef addButton(const std::u16string& key, std::int32_t image) = 0;
    virtual void clearButtons() = 0;
    [[nodiscard]] virtual std::int32_t buttonCount() const = 0;
    // By position from 1; null outside 1 to buttonCount.
    [[nodiscard]] virtual ButtonRef button(std::int32_t index) const = 0;
    [[nodiscard]] virtual ButtonRef findButton(const std::u16string& key) const = 0;

    Signal<const ButtonRef&> ButtonClick;

    // The operator clicks the button: its state toggles, then ButtonClick. False when the
    // toolbar is hidden or has no such button.
    virtual bool operatorClick(const std::u16string& key) = 0;
};

} // namespace vestrak
