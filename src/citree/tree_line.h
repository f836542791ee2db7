#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vestrak {

// What a tree build takes from one data line "code/extra info = image, text".
struct TreeLine {
    // Upper-cased; may be a comma list of prefixes for the lines below it.
    std::u16string code;
    // extraInfo and text are parts of the line read.
    std::u16string_view extraInfo;
    // 0 when the value starts with no number, or one beyond 16 bits.
    std::int32_t image = 0;
    std::u16string_view text;
};

TreeLine ReadTreeLine(std::u16string_view line);
// The same into a line read before, whose code's room serves again.
void ReadTreeLine(std::u16string_view line, TreeLine& into);

// What a build asks of most lines, as ReadTreeLine reads them, from a line of plain ASCII bytes,
// whose bytes are its units in either encoding.
struct AsciiTreeLine {
    // As written, not upper-cased. code and text are parts of the line read.
    std::string_view code;
    std::int32_t image = 0;
    std::string_view text;
};

// Nothing for a line with a byte beyond ASCII.
std::optional<AsciiTreeLine> ReadAsciiTreeLine(std::string_view line);

// The text of a value part: what follows its first comma, or the whole value without one.
std::u16string_view ValueText(std::u16string_view value);

std::u16string DecimalText(std::int64_t number);

} // namespace vestrak
