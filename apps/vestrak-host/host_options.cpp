#include "host_options.h"

#include <cstdio>

namespace vestrak {

const char* const HostUsage
    = "usage: vestrak-host [--widgets headless|qt] [--settings FILE] [--clock HH:MM:SS] SCRIPT...\n"
      "       (a SCRIPT of - is read from standard input)\n";

namespace {

std::optional<double> SecondsSinceMidnight(const std::string& text)
{
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
    int consumed = 0;
    if (text.size() != 8
        || std::sscanf(text.c_str(), "%2u:%2u:%2u%n", &hours, &minutes, &seconds, &consumed) != 3
        || consumed != 8 || hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

ParsedOptions Problem(std::string message)
{
    return ParsedOptions { std::nullopt, std::move(message), false };
}

} // namespace

ParsedOptions ParseHostOptions(const std::vector<std::string>& arguments)
{
    HostOptions options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--help" || argument == "-h")
            return ParsedOptions { std::nullopt, {}, true };
        const bool takesValue = argument == "--widgets" || argument == "--settings" || argument == "--clock";
        if (!takesValue) {
            if (argument.starts_with("--"))
                return Problem("unknown option " + argument);
            options.scripts.push_back(argument);
            continue;
        }
        if (index + 1 == arguments.size())
            return Problem(argument + " needs a value");
        const std::string& value = arguments[++index];
        if (argument == "--widgets") {
            if (value == "headless")
                options.widgets = WidgetSetChoice::Headless;
            else if (value == "qt")
                options.widgets = WidgetSetChoice::Qt;
            else
                return Problem("--widgets takes headless or qt, not " + value);
        } else if (argument == "--settings") {
            options.settingsFile = value;
        } else if (const std::optional<double> seconds = SecondsSinceMidnight(value)) {
            options.clockStartSeconds = *seconds;
        } else {
            return Problem("--clock takes a time of day as HH:MM:SS, not " + value);
        }
    }
    if (options.scripts.empty())
        return Problem("no script given");
    return ParsedOptions { options, {}, false };
}

} // namespace vestrak
