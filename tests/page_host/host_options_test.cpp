#include "host_options.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(HostOptions, OptionsOverrideTheDefaults)
{
    const ParsedOptions defaults = ParseHostOptions({ "a.page", "-", "b.inc" });
    ASSERT_TRUE(defaults.options) << defaults.problem;
    EXPECT_EQ(std::tie(defaults.options->widgets, defaults.options->settingsFile,
                  defaults.options->clockStartSeconds),
        std::make_tuple(WidgetSetChoice::Headless, "", 12 * 3600.0));
    EXPECT_EQ(defaults.options->scripts, (std::vector<std::string> { "a.page", "-", "b.inc" }));
    const ParsedOptions parsed
        = ParseHostOptions({ "--widgets", "qt", "--settings", "s.sqlite", "--clock", "06:30:05", "p.page" });
    ASSERT_TRUE(parsed.options) << parsed.problem;
    EXPECT_EQ(
        std::tie(parsed.options->widgets, parsed.options->settingsFile, parsed.options->clockStartSeconds),
        std::make_tuple(WidgetSetChoice::Qt, "s.sqlite", 6 * 3600.0 + 30 * 60 + 5));
    EXPECT_TRUE(ParseHostOptions({ "p.page", "--help" }).helpWanted);
}

TEST(HostOptions, ProblemsWithTheCommandLine)
{
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        { {}, "no script given" },
        { { "p.page", "--settings" }, "--settings needs a value" },
        { { "--widget", "qt", "p.page" }, "unknown option --widget" },
        { { "--widgets", "gtk", "p.page" }, "--widgets takes headless or qt, not gtk" },
    };
    for (const auto& [arguments, problem] : mistakes)
        EXPECT_EQ(ParseHostOptions(arguments).problem, problem);
    for (const std::string clock :
        { "6:30:00", "24:00:00", "12:60:00", "12:00:60", "12:00:00x", "12-00-00", "" })
        EXPECT_EQ(ParseHostOptions({ "--clock", clock, "p.page" }).problem,
            "--clock takes a time of day as HH:MM:SS, not " + clock);
}

} // namespace
} // namespace vestrak
