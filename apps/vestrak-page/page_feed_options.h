#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vestrak {

// The options that feed a page's tags from an MQTT broker, as given on the command line.
struct PageFeedOptions {
    enum class Protocol {
        // --mqtt: one plain value per topic.
        Plain,
        // --sparkplug: Sparkplug B edge nodes.
        SparkplugB,
    };

    // Empty: the page answers from its own tag table only.
    std::string url;
    Protocol protocol = Protocol::Plain;
    // Sparkplug B: tag names start with the group, and the status rules file.
    bool groupInTagNames = false;
    std::string statusRulesFile;
    int staleSeconds = 0;
    std::string user;
    std::string passwordFile;
    std::string caFile;
    std::string certificateFile;
    std::string keyFile;
};

enum class FeedOptionTaken {
    No,
    Yes,
};

struct FeedOptionResult {
    FeedOptionTaken taken = FeedOptionTaken::No;
    // Set when the option was taken but its value is wrong.
    std::string problem;
};

// Takes the feed option at arguments[index] and its value (moving index past it), if it is one.
FeedOptionResult TakeFeedOption(
    const std::vector<std::string>& arguments, std::size_t& index, PageFeedOptions& feed);

// What is wrong with the feed options as a whole, once every argument is read.
std::optional<std::string> FeedOptionsProblem(const PageFeedOptions& feed);

extern const char* const PageFeedUsage;

} // namespace vestrak
