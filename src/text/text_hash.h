#pragma once

#include <cstdint>
#include <string_view>

namespace vestrak {

inline constexpr std::uint64_t TextHashBase = 0x100000001B3ULL;

// A polynomial hash of UTF-16 text: hash * TextHashBase + unit for each unit in turn, so that
// hashing a text in pieces gives what hashing it whole gives. This is the step of one unit.
inline std::uint64_t ExtendedTextHash(std::uint64_t hash, char16_t unit)
{
    return hash * TextHashBase + unit;
}

// The same over a whole text. Four units are taken per step with their powers of the base, so
// that a step waits for one multiplication instead of four.
inline std::uint64_t ExtendedTextHash(std::uint64_t hash, std::u16string_view text)
{
    constexpr std::uint64_t Base = TextHashBase;
    constexpr std::uint64_t Base2 = Base * Base;
    constexpr std::uint64_t Base3 = Base2 * Base;
    constexpr std::uint64_t Base4 = Base3 * Base;
    std::size_t position = 0;
    for (; text.size() - position >= 4; position += 4) {
        hash = hash * Base4 + text[position] * Base3 + text[position + 1] * Base2 + text[position + 2] * Base
            + text[position + 3];
    }
    for (; position < text.size(); ++position) {
        hash = ExtendedTextHash(hash, text[position]);
    }
    return hash;
}

inline constexpr std::uint64_t EmptyTextHash = 0x6A09E667F3BCC909ULL;

// The low bits of a polynomial hash depend on few units; tables take their slots from these bits,
// which depend on all of them.
inline std::uint64_t MixedHashBits(std::uint64_t hash)
{
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return hash;
}

} // namespace vestrak
