#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// One word of a command line: a bare word as written, or a quoted string with its escapes
// resolved and its quotes removed.
struct Word {
    std::u16string text;
    bool quoted = false;

    bool operator==(const Word&) const = default;
};

// Blank lines and lines whose first non-blank character is "#".
bool IsSkippedLine(std::u16string_view line);

// Splits a command line at blanks (spaces and tabs). A word that starts with a double quote runs
// to the matching quote and may hold blanks and the escapes \\ \" \t \r \n \xHH. Throws
// ScriptError for an unterminated string, an unknown escape, or text glued to a closing quote.
std::vector<Word> SplitWords(std::u16string_view line);

// A decimal number with an optional "-", or 1 to 8 hexadecimal digits after 0x or &H, read as
// 32-bit two's complement (0xFFFFFFFF is -1) so that colour values with the top bit set fit the
// 32-bit properties. Nothing for any other text.
std::optional<std::int64_t> ParseNumber(std::u16string_view text);

// Control names: letters, digits and "_".
bool IsControlName(std::u16string_view name);

// The bytes a line of a write block stands for: every \xHH becomes that single byte; everything
// else, other backslashes included, stays as written.
std::string DecodeBlockLine(std::string_view line);

} // namespace vestrak
