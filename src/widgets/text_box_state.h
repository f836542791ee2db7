#pragma once

#include "ports/text_box.h"
#include "widgets/widget_state.h"

#include <optional>

namespace vestrak {

// The text of a text box, read back as the control set it until the operator edits it, and what a
// typed character comes to after KeyPress.
class TextBoxState : public WidgetState<TextBox> {
public:
    TextBoxState(
        std::u16string name, const Geometry& design, bool visible, WidgetHost& host, TextBoxLines lines)
        : WidgetState(std::move(name), design, visible, host)
        , m_Lines(lines)
    {
    }

    [[nodiscard]] TextBoxLines lines() const { return m_Lines; }
    [[nodiscard]] std::u16string text() const override { return m_Text; }
    void setText(const std::u16string& text) override;
    // Appends each printable character that KeyPress lets through.
    bool operatorType(const std::u16string& characters) override;

protected:
    // The character KeyPress made of the typed one; none when the handler swallowed the key.
    [[nodiscard]] std::optional<char16_t> passKeyPress(char16_t typed);
    // The operator edited the text on the screen: kept without telling the screen again.
    void keepEditedText(std::u16string text) { m_Text = std::move(text); }

    virtual void textChanged() { }

private:
    TextBoxLines m_Lines;
    std::u16string m_Text;
};

} // namespace vestrak
