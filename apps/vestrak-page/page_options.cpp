#include "page_options.h"

#include <charconv>

namespace vestrak {

const std::string PageUsage
    = std::string("usage: vestrak-page [PAGE] [--screenshot FILE [--after MS]]\n") + PageFeedUsage;

ParsedPageOptions ParsePageOptions(const std::vector<std::string>& arguments)
{
    PageOptions options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const FeedOptionResult feedOption = TakeFeedOption(arguments, index, options.feed);
        if (!feedOption.problem.empty())
            return { std::nullopt, feedOption.problem };
        if (feedOption.taken == FeedOptionTaken::Yes)
            continue;
        if (argument == "--screenshot" || argument == "--after") {
            if (index + 1 == arguments.size())
                return { std::nullopt, argument + " needs a value" };
            const std::string& value = arguments[++index];
            if (argument == "--screenshot") {
                options.screenshotFile = value;
                continue;
            }
            const auto [end, error] = std::from_chars(
                value.data(), value.data() + value.size(), options.screenshotAfterMilliseconds);
            if (error != std::errc() || end != value.data() + value.size()
                || options.screenshotAfterMilliseconds < 0)
                return { std::nullopt, "--after takes milliseconds, not " + value };
        } else if (argument.starts_with("--") || !options.page.empty()) {
            return { std::nullopt, "unexpected argument " + argument };
        } else {
            options.page = argument;
        }
    }
    if (const std::optional<std::string> problem = FeedOptionsProblem(options.feed))
        return { std::nullopt, *problem };
    return { options, {} };
}

} // namespace vestrak
