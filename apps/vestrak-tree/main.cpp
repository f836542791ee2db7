#include "linux/local_file_system.h"
#include "procs/encoding.h"
#include "procs/text.h"
#include "tree_report.h"

#include <iostream>
#include <optional>
#include <span>
#include <string_view>

namespace {

constexpr int ExitClean = 0;
constexpr int ExitWarned = 1;
constexpr int ExitBadUsage = 2;
constexpr std::string_view Usage
    = "usage: vestrak-tree FILE [--section NAME] [--root LIST] [--list] [--filter TEXT] [--groups 4,5]\n";

std::vector<std::u16string> GroupList(const std::u16string& list)
{
    std::vector<std::u16string> groups;
    for (std::int32_t item = 0;; ++item) {
        std::u16string group = vestrak::TrimSpaces(vestrak::GetField(list, item, u","));
        if (group.empty()) {
            break;
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

std::optional<vestrak::TreeReportOptions> ParseArguments(std::span<char*> arguments)
{
    vestrak::TreeReportOptions options;
    bool fileGiven = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        const bool takesValue = argument == "--section" || argument == "--root" || argument == "--filter"
            || argument == "--groups";
        if (takesValue && index + 1 == arguments.size()) {
            return std::nullopt;
        }
        if (argument == "--list") {
            options.shape = vestrak::ReportShape::List;
        } else if (takesValue) {
            const std::u16string value = vestrak::FromUtf8(arguments[++index]);
            if (argument == "--section") {
                options.section = value;
            } else if (argument == "--root") {
                options.root = value;
            } else if (argument == "--filter") {
                options.filterText = value;
            } else {
                options.groups = GroupList(value);
            }
        } else if (argument.starts_with("--") || fileGiven) {
            return std::nullopt;
        } else {
            options.file = vestrak::FromUtf8(argument);
            fileGiven = true;
        }
    }
    if (!fileGiven) {
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseArguments(std::span<char*>(argv, static_cast<std::size_t>(argc)).subspan(1));
    if (!options) {
        std::cerr << Usage;
        return ExitBadUsage;
    }
    vestrak::LocalFileSystem files;
    return vestrak::WriteTreeReport(*options, files, std::cout) ? ExitWarned : ExitClean;
}
