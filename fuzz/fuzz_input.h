#pragma once

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>

namespace vestrak::fuzzing {

// A fuzz input read as an object file with the operator's actions behind it: the choices are
// taken from the end of the input, so that a seed is an object file as it stands, and the last
// `tailLength` bytes of what remains become a short text (a root list or a filter text).
struct ControlInput {
    ControlInput(const std::uint8_t* data, std::size_t size)
        : choices(data, size)
    {
    }

    // Call after every choice has been taken.
    void splitRemainder(std::size_t tailLength)
    {
        const std::string rest = choices.ConsumeRemainingBytesAsString();
        const std::size_t cut = rest.size() - std::min(tailLength, rest.size());
        objectFile = rest.substr(0, cut);
        tail = rest.substr(cut);
    }

    FuzzedDataProvider choices;
    std::string objectFile;
    std::string tail;
};

} // namespace vestrak::fuzzing
