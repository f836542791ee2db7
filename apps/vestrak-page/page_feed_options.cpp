#include "page_feed_options.h"

#include <array>
#include <charconv>
#include <utility>

namespace vestrak {

const char* const PageFeedUsage
    = "       [--mqtt mqtt://HOST:PORT/PREFIX | mqtts://HOST:PORT/PREFIX [--stale SECONDS]\n"
      "        [--user NAME [--password-file FILE]] [--cafile FILE] [--cert FILE --key FILE]]\n";

FeedOptionResult TakeFeedOption(
    const std::vector<std::string>& arguments, std::size_t& index, PageFeedOptions& feed)
{
    const std::array<std::pair<const char*, std::string*>, 6> texts { {
        { "--mqtt", &feed.url },
        { "--user", &feed.user },
        { "--password-file", &feed.passwordFile },
        { "--cafile", &feed.caFile },
        { "--cert", &feed.certificateFile },
        { "--key", &feed.keyFile },
    } };
    const std::string& argument = arguments[index];
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
        return "the broker options need --mqtt";
    if (!feed.passwordFile.empty() && feed.user.empty())
        return "--password-file needs --user";
    if (feed.certificateFile.empty() != feed.keyFile.empty())
        return "--cert and --key go together";
    return std::nullopt;
}

} // namespace vestrak
