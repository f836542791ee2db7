#include "page_options.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(PageFeedOptionsTest, TheBrokerOptionsGoWithThePage)
{
    const ParsedPageOptions parsed = ParsePageOptions({ "--mqtt", "mqtts://broker/plant", "p.page", "--stale",
        "30", "--user", "operator", "--password-file", "pw", "--cafile", "ca.pem", "--cert", "c.pem", "--key",
        "c.key", "--screenshot", "s.png" });
    ASSERT_TRUE(parsed.options) << parsed.problem;
    const PageFeedOptions& feed = parsed.options->feed;
    EXPECT_EQ(std::tie(parsed.options->page, parsed.options->screenshotFile, feed.url, feed.staleSeconds,
                  feed.user, feed.passwordFile, feed.caFile, feed.certificateFile, feed.keyFile),
        std::make_tuple(
            "p.page", "s.png", "mqtts://broker/plant", 30, "operator", "pw", "ca.pem", "c.pem", "c.key"));

    const ParsedPageOptions sparkplug = ParsePageOptions({ "--sparkplug", "mqtts://broker/Water,Waste",
        "--user", "operator", "--group-in-tags", "--status-rules", "rules.txt" });
    ASSERT_TRUE(sparkplug.options) << sparkplug.problem;
    const PageFeedOptions& edge = sparkplug.options->feed;
    EXPECT_EQ(std::tie(edge.protocol, edge.url, edge.user, edge.groupInTagNames, edge.statusRulesFile),
        std::make_tuple(PageFeedOptions::Protocol::SparkplugB, "mqtts://broker/Water,Waste", "operator", true,
            "rules.txt"));
}

TEST(PageFeedOptionsTest, Mistakes)
{
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        { { "p.page", "--stale", "30" }, "the broker options need --mqtt or --sparkplug" },
        { { "--mqtt", "mqtt://b/p", "--stale", "0" }, "--stale takes a number of seconds above 0, not 0" },
        { { "--mqtt", "mqtt://b/p", "--stale" }, "--stale needs a value" },
        { { "--mqtt", "mqtt://b/p", "--password-file", "pw" }, "--password-file needs --user" },
        { { "--mqtt", "mqtts://b/p", "--cert", "c.pem" }, "--cert and --key go together" },
        { { "--mqtt", "mqtt://b/p", "--sparkplug", "mqtt://b/g" },
            "give one of --mqtt and --sparkplug, once" },
        { { "--mqtt", "mqtt://b/p", "--group-in-tags" },
            "--group-in-tags and --status-rules need --sparkplug" },
        { { "--sparkplug", "mqtt://b/g", "--stale", "30" },
            "--stale is for --mqtt: Sparkplug B edge nodes announce their own death" },
    };
    for (const auto& [arguments, problem] : mistakes)
        EXPECT_EQ(ParsePageOptions(arguments).problem, problem);
}

} // namespace
} // namespace vestrak
