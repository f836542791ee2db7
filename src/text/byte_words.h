#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vestrak {

// Scanning object file bytes eight at a time. A byte's mark is the high bit of that byte in the
// word; the first byte of the text is the lowest byte of the word.
static_assert(std::endian::native == std::endian::little, "byte marks count from the low byte");

inline constexpr std::size_t WordBytes = sizeof(std::uint64_t);
// Every byte's high bit: a byte beyond ASCII, or a byte's mark.
inline constexpr std::uint64_t HighBits = 0x8080808080808080U;

inline std::uint64_t LoadWord(std::string_view text, std::size_t position)
{
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + position, WordBytes);
    return word;
}

// Marks the bytes of the word that equal `byte`, and no others.
inline std::uint64_t MarksOf(std::uint64_t word, char byte)
{
    constexpr std::uint64_t LowSevenBits = 0x7F7F7F7F7F7F7F7FU;
    const std::uint64_t other = word ^ (0x0101010101010101U * static_cast<unsigned char>(byte));
    return ~(((other & LowSevenBits) + LowSevenBits) | other | LowSevenBits);
}

// The position in the word of its first marked byte; the marks must not be 0.
inline std::size_t FirstMarked(std::uint64_t marks)
{
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
}

} // namespace vestrak
