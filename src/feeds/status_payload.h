#pragma once

#include <cstdint>
#include <string_view>

namespace vestrak {

// What one message says about its tag.
struct StatusReading {
    enum class Kind {
        Value,
        // An empty payload: the value was withdrawn (a deleted retained message).
        Withdrawn,
        Malformed,
    };
    Kind kind = Kind::Malformed;
    std::int32_t value = 0;
};

// A status value as text (decimal, "0x" or "&H" hex, blanks around it) or a JSON object with a
// numeric "value". Hex gives the 32 bits as written, so 0xFFFFFFFF is -1.
StatusReading ReadStatusPayload(std::string_view payload);

} // namespace vestrak
