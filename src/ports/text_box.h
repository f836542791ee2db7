#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <string>

namespace vestrak {

/// Whether a text box holds one line or several.
enum class TextBoxLines { Single, Multiple };

/// What typing appends to a text: no control character (below 32) and no DEL.
constexpr bool IsPrintable(char16_t character)
{
    return character >= 32 && character != 127;
}

/// A box of text the operator can type into.
class TextBox : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::TextBox; }

    /// The text shown.
    [[nodiscard]] virtual std::u16string text() const = 0;
    /// Replaces the text; raises no event.
    virtual void setText(const std::u16string& text) = 0;

    /// A typed character; the handler may change the code, and 0 swallows the key.
    Signal<std::int16_t&> KeyPress;

    /// For each character: KeyPress, then, unless swallowed, the (possibly changed) character is
    /// appended when it is printable: control characters and DEL append nothing, as in a one-line
    /// text box. False when the text box is hidden.
    virtual bool operatorType(const std::u16string& characters) = 0;
};

} // namespace vestrak
