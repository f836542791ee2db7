#include "page_host/script_source.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vestrak {

std::vector<std::string> SplitScriptLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.emplace_back(line);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return lines;
}

std::optional<ScriptSource> ReadScriptFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return ReadScriptStream(file, path);
}

ScriptSource ReadScriptStream(std::istream& stream, std::string name)
{
    const std::string bytes { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
    return ScriptSource { std::move(name), SplitScriptLines(bytes) };
}

} // namespace vestrak
