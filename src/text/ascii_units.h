#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vestrak {

// Plain ASCII, nearly all of an object file, taken sixteen bytes (eight units) at a time where
// the machine allows. Both stop at the first byte or unit beyond ASCII and leave the rest to the
// caller: decoding and upper-casing from there give what they would have given for the whole.

// Whether every byte is ASCII.
bool IsAscii(std::string_view bytes);

// Appends the bytes up to the first one beyond ASCII as UTF-16 units; returns how many.
std::size_t AppendAsciiPrefix(std::u16string& text, std::string_view bytes);

// Upper-cases the units up to the first one beyond ASCII; returns how many.
std::size_t UpperAsciiPrefix(char16_t* units, std::size_t count);

} // namespace vestrak
