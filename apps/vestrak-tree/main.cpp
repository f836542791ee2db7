#include "linux_platform/local_file_system.h"
#include "status_report.h"
#include "text/encoding.h"
#include "text/text.h"
#include "tree_report.h"

#include <iostream>
#include <optional>
#include <span>
#include <string_view>

namespace {

constexpr int ExitClean = 0;
constexpr int ExitWarned = 1;
constexpr int ExitBadUsage = 2;
constexpr std::string_view Usage = "usage: vestrak-tree FILE [--section NAME] [--root LIST] [--list]"
                                   " [--filter TEXT] [--groups 4,5]\n"
                                   "       vestrak-tree --status FILE [--root LIST]\n"
                                   "       vestrak-tree --help\n";
constexpr std::string_view Help
    = "Prints the tree (or list) a CiTree builds from an object file, or with --status the tree a\n"
      "CiStatus loads, and warns about what in the file surprises integrators. Exit status: 0 no\n"
      "warning, 1 warnings, 2 bad usage. See vestrak-tree(1) and docs/object-files.md.\n\n"
      "  --section NAME  the section to read (default: TreeObjects; ListObjects for a list without root)\n"
      "  --root LIST     RootObject: comma list of code prefixes\n"
      "  --list          build the flat list instead of the tree\n"
      "  --filter TEXT   press the text-filter button with this filter text\n"
      "  --groups 4,5    press these filter group buttons\n"
      "  --status        read the file as the status tree does (section TreeObjects)\n"
      "  --help          this text\n";

struct Arguments {
    vestrak::TreeReportOptions tree;
    bool status = false;
    bool help = false;
};

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

// Options that only a navigation tree knows are refused with --status.
std::optional<Arguments> ParseArguments(std::span<char*> arguments)
{
    Arguments parsed;
    vestrak::TreeReportOptions& options = parsed.tree;
    bool fileGiven = false;
    bool navigationOnly = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        const bool takesValue = argument == "--section" || argument == "--root" || argument == "--filter"
            || argument == "--groups";
        if (takesValue && index + 1 == arguments.size()) {
            return std::nullopt;
        }
        navigationOnly = navigationOnly || (takesValue && argument != "--root") || argument == "--list";
        if (argument == "--help") {
            parsed.help = true;
        } else if (argument == "--status") {
            parsed.status = true;
        } else if (argument == "--list") {
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
    if (parsed.help) {
        return parsed;
    }
    if (!fileGiven || (parsed.status && navigationOnly)) {
        return std::nullopt;
    }
    return parsed;
}

} // namespace

int main(int argc, char** argv)
{
    const auto arguments = ParseArguments(std::span<char*>(argv, static_cast<std::size_t>(argc)).subspan(1));
    if (!arguments) {
        std::cerr << Usage;
        return ExitBadUsage;
    }
    if (arguments->help) {
        std::cout << Usage << '\n' << Help;
        return ExitClean;
    }
    vestrak::LocalFileSystem files;
    const bool warned = arguments->status
        ? vestrak::WriteStatusReport({ arguments->tree.file, arguments->tree.root }, files, std::cout)
        : vestrak::WriteTreeReport(arguments->tree, files, std::cout);
    return warned ? ExitWarned : ExitClean;
}
