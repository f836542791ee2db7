#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vestrak {

enum class WidgetSetChoice { Headless, Qt };

struct HostOptions {
    WidgetSetChoice widgets = WidgetSetChoice::Headless;
    // Empty: settings live in memory for this run only.
    std::string settingsFile;
    double clockStartSeconds = 12 * 3600.0;
    // In the order given; "-" is standard input.
    std::vector<std::string> scripts;
};

// The options, or a message saying what is wrong with the command line.
struct ParsedOptions {
    std::optional<HostOptions> options;
    std::string problem;
    bool helpWanted = false;
};

ParsedOptions ParseHostOptions(const std::vector<std::string>& arguments);

extern const char* const HostUsage;

} // namespace vestrak
