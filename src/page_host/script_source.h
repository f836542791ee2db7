#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The lines of one page script as bytes, without their line ends.
struct ScriptSource {
    // As given to the container; "-" for standard input.
    std::string name;
    std::vector<std::string> lines;
};

// A line ends at LF; a CR before it belongs to the line end, so scripts saved on Windows read
// alike. A final line end does not start another line.
std::vector<std::string> SplitScriptLines(std::string_view bytes);

// Nothing when the file cannot be read.
std::optional<ScriptSource> ReadScriptFile(const std::string& path);
ScriptSource ReadScriptStream(std::istream& stream, std::string name);

} // namespace vestrak
