#include "page_feed_options.h"

#include <array>
#include <charconv>
#include <utility>

namespace vestrak {

const char* const PageFeedUsage
    = "       [--mqtt mqtt://HOST:PORT/PREFIX | mqtts://HOST:PORT/PREFIX [--stale SECONDS]\n"
      "        [--user NAME [--password-file FILE]] [--cafile FILE] [--cert FILE --key FILE]]\n"
      "       [--sparkplug mqtt[s]://HOST:PORT/GROUP[,GROUP...] [--group-in-tags]\n"
      "        [--status-rules FILE] and the --mqtt security options]\n";

FeedOptionResult TakeFeedOption(
    const std::vector<std::string>& arguments, std::size_t& index, PageFeedOptions& feed)
{
    const std::string& argument = arguments[index];
    if (argument == "--group-in-tags") {
        feed.groupInTagNames = true;
        return { FeedOptionTaken::Yes, {} };
    }
    if ((argument == "--mqtt" || argument == "--sparkplug") && !feed.url.empty())
        return { FeedOptionTaken::Yes, "give one of --mqtt and --sparkplug, once" };
    feed.protocol = argument == "--sparkplug" ? PageFeedOptions::Protocol::SparkplugB : feed.protocol;
    const std::array<std::pair<const char*, std::string*>, 8> texts { {
        { "--mqtt", &feed.url },
        { "--sparkplug", &feed.url },
        { "--status-rules", &feed.statusRulesFile },
        { "--user", &feed.user },
        { "--password-file", &feed.passwordFile },
        { "--cafile", &feed.caFile },
        { "--cert", &feed.certificateFile },
        { "--key", &feed.keyFile },
    } };
    std::string* text = nullptr;
    for (const auto& [name, target] : texts) {
        if (argument == name)
            text = target;
    }
    if (!text && argument != "--stale")
        return {};
    if (index + 1 == arguments.size())
        return { FeedOptionTaken::Yes, argument + " needs a value" };
    const std::string& value = arguments[++index];
    if (text) {
        *text = value;
        return { FeedOptionTaken::Yes, {} };
    }
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), feed.staleSeconds);
    if (error != std::errc() || end != value.data() + value.size() || feed.staleSeconds <= 0)
        return { FeedOptionTaken::Yes, "--stale takes a number of seconds above 0, not " + value };
    return { FeedOptionTaken::Yes, {} };
}

std::optional<std::string> FeedOptionsProblem(const PageFeedOptions& feed)
{
    const bool anyOther = feed.staleSeconds != 0 || !feed.user.empty() || !feed.passwordFile.empty()
        || !feed.caFile.empty() || !feed.certificateFile.empty() || !feed.keyFile.empty();
    if (feed.url.empty() && anyOther)
        return "the broker options need --mqtt or --sparkplug";
    const bool sparkplug = feed.protocol == PageFeedOptions::Protocol::SparkplugB;
    if (!sparkplug && (feed.groupInTagNames || !feed.statusRulesFile.empty()))
        return "--group-in-tags and --status-rules need --sparkplug";
    if (sparkplug && feed.staleSeconds != 0)
        return "--stale is for --mqtt: Sparkplug B edge nodes announce their own death";
    if (!feed.passwordFile.empty() && feed.user.empty())
        return "--password-file needs --user";
    if (feed.certificateFile.empty() != feed.keyFile.empty())
        return "--cert and --key go together";
    return std::nullopt;
}

} // namespace vestrak
