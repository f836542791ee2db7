#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <string>

namespace vestrak {

enum class TextBoxLines { Single, Multiple };

class TextBox : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::TextBox; }

    [[nodiscard]] virtual std::u16string text() const = 0;
    virtual void setText(const std::u16string& text) = 0;

    // A typed character; the handler may change the code, and 0 swallows the key.
    Signal<std::int16_t&> KeyPress;

    // For each character: KeyPress, then, unless swallowed, the (possibly changed) character is
    // appended. False when the text box is hidden.
    virtual bool operatorType(const std::u16string& characters) = 0;
};

} // namespace vestrak
