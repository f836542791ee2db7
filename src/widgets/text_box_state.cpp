#include "widgets/text_box_state.h"

namespace vestrak {

void TextBoxState::setText(const std::u16string& text)
{
    if (m_Text == text)
        return;
    m_Text = text;
    textChanged();
}

std::optional<char16_t> TextBoxState::passKeyPress(char16_t typed)
{
    auto code = static_cast<std::int16_t>(typed);
    KeyPress(code);
    if (code == 0)
        return std::nullopt;
    return static_cast<char16_t>(code);
}

bool TextBoxState::operatorType(const std::u16string& characters)
{
    if (!visible())
        return false;
    for (char16_t character : characters) {
        if (const auto passed = passKeyPress(character); passed && IsPrintable(*passed))
            m_Text += *passed;
    }
    return true;
}

} // namespace vestrak
