#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace vestrak {

// A line of a page script that is not a valid command. The page stops at it.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a page stopped and why; the line number counts from 1 within its script file.
struct ScriptFailure {
    std::string scriptName;
    std::size_t line = 0;
    std::string message;
};

} // namespace vestrak
