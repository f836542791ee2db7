#include "host_options.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(HostOptions, OptionsOverrideTheDefaults)
{
    const ParsedOptions defaults = ParseHostOptions({ "a.page", "-", "b.inc" });
    ASSERT_TRUE(defaults.options) << defaults.problem;
    EXPECT_EQ(defaults.options->widgets, WidgetSetChoice::Headless);
    EXPECT_EQ(defaults.options->settingsFile, "");
    EXPECT_EQ(defaults.options->clockStartSeconds, 12 * 3600.0);
    EXPECT_EQ(defaults.options->scripts, (std::vector<std::string> { "a.page", "-", "b.inc" }));
    const ParsedOptions parsed
        = ParseHostOptions({ "--widgets", "qt", "--settings", "s.sqlite", "--clock", "06:30:05", "p.page" });
    ASSERT_TRUE(parsed.options) << parsed.problem;
    EXPECT_EQ(parsed.options->widgets, WidgetSetChoice::Qt);
    EXPECT_EQ(parsed.options->settingsFile, "s.sqlite");
    EXPECT_EQ(parsed.options->clockStartSeconds, 6 * 3600.0 + 30 * 60 + 5);
}

TEST(HostOptions, ClockMustBeATimeOfDay)
{
    for (const char* clock : { "6:30:00", "24:00:00", "12:60:00", "12:00:60", "12:00:00x", "12-00-00", "" }) {
        const ParsedOptions parsed = ParseHostOptions({ "--clock", clock, "p.page" });
        EXPECT_FALSE(parsed.options) << clock;
        EXPECT_NE(parsed.problem, "") << clock;
    }
}

TEST(HostOptions, ProblemsWithTheCommandLine)
{
    EXPECT_EQ(ParseHostOptions({}).problem, "no script given");
    EXPECT_EQ(ParseHostOptions({ "p.page", "--settings" }).problem, "--settings needs a value");
    EXPECT_EQ(ParseHostOptions({ "--widget", "qt", "p.page" }).problem, "unknown option --widget");
    EXPECT_EQ(ParseHostOptions({ "--widgets", "gtk", "p.page" }).problem,
        "--widgets takes headless or qt, not gtk");
    EXPECT_TRUE(ParseHostOptions({ "p.page", "--help" }).helpWanted);
}

} // namespace
} // namespace vestrak
