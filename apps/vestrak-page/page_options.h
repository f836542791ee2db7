#pragma once

#include "page_feed_options.h"

#include <optional>
#include <string>
#include <vector>

namespace vestrak {

struct PageOptions {
    // Empty: the bundled example plant page.
    std::string page;
    // Set: render offscreen after the given milliseconds, save the picture and exit.
    std::string screenshotFile;
    int screenshotAfterMilliseconds = 3000;
    PageFeedOptions feed;
};

struct ParsedPageOptions {
    std::optional<PageOptions> options;
    std::string problem;
};

ParsedPageOptions ParsePageOptions(const std::vector<std::string>& arguments);

extern const std::string PageUsage;

} // namespace vestrak
