#include "page_options.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

std::string ProblemOf(const std::vector<std::string>& arguments)
{
    return ParsePageOptions(arguments).problem;
}

TEST(PageFeedOptionsTest, TheBrokerOptionsGoWithThePage)
{
    const ParsedPageOptions parsed = ParsePageOptions({ "--mqtt", "mqtts://broker/plant", "p.page", "--stale",
        "30", "--user", "operator", "--password-file", "pw", "--cafile", "ca.pem", "--cert", "c.pem", "--key",
        "c.key", "--screenshot", "s.png" });
    ASSERT_TRUE(parsed.options) << parsed.problem;
    const PageFeedOptions& feed = parsed.options->feed;
    EXPECT_EQ(parsed.options->page, "p.page");
    EXPECT_EQ(parsed.options->screenshotFile, "s.png");
    EXPECT_EQ(feed.url, "mqtts://broker/plant");
    EXPECT_EQ(feed.staleSeconds, 30);
    EXPECT_EQ(feed.user, "operator");
    EXPECT_EQ(feed.passwordFile, "pw");
    EXPECT_EQ(feed.caFile, "ca.pem");
    EXPECT_EQ(feed.certificateFile, "c.pem");
    EXPECT_EQ(feed.keyFile, "c.key");
}

TEST(PageFeedOptionsTest, Mistakes)
{
    EXPECT_EQ(ProblemOf({ "p.page", "--stale", "30" }), "the broker options need --mqtt or --sparkplug");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtt://b/p", "--stale", "0" }),
        "--stale takes a number of seconds above 0, not 0");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtt://b/p", "--stale" }), "--stale needs a value");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtt://b/p", "--password-file", "pw" }), "--password-file needs --user");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtts://b/p", "--cert", "c.pem" }), "--cert and --key go together");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtt://b/p", "--sparkplug", "mqtt://b/g" }),
        "give one of --mqtt and --sparkplug, once");
    EXPECT_EQ(ProblemOf({ "--mqtt", "mqtt://b/p", "--group-in-tags" }),
        "--group-in-tags and --status-rules need --sparkplug");
    EXPECT_EQ(ProblemOf({ "--sparkplug", "mqtt://b/g", "--stale", "30" }),
        "--stale is for --mqtt: Sparkplug B edge nodes announce their own death");
}

TEST(PageFeedOptionsTest, SparkplugBTakesTheSecurityOptionsAndItsOwn)
{
    const ParsedPageOptions parsed = ParsePageOptions({ "--sparkplug", "mqtts://broker/Water,Waste", "--user",
        "operator", "--group-in-tags", "--status-rules", "rules.txt" });
    ASSERT_TRUE(parsed.options) << parsed.problem;
    const PageFeedOptions& feed = parsed.options->feed;
    EXPECT_EQ(feed.protocol, PageFeedOptions::Protocol::SparkplugB);
    EXPECT_EQ(feed.url, "mqtts://broker/Water,Waste");
    EXPECT_EQ(feed.user, "operator");
    EXPECT_TRUE(feed.groupInTagNames);
    EXPECT_EQ(feed.statusRulesFile, "rules.txt");
}

} // namespace
} // namespace vestrak
