#pragma once

#include "feeds/mqtt_tag_feed.h"
#include "page_feed_options.h"

#include <functional>
#include <memory>
#include <string>

namespace vestrak {

class PageRunner;

// Feeds a page's tag table from an MQTT broker: `answer` gives every tag the feed's status
// (unknown while there is none), and a tag's next message takes over from a `tag` line of the
// page. The broker's state goes to standard error, a loss once, and to a line that stays shown.
class PageFeed {
public:
    using StateShower = std::function<void(const QString&)>;

    struct Created {
        std::unique_ptr<PageFeed> feed;
        std::string problem;
    };
    // Fails when the options cannot make a feed (bad address, unreadable password file).
    static Created Create(const PageFeedOptions& options, PageRunner& runner, const StateShower& showState);

    PageFeed(const MqttFeedOptions& options, PageRunner& runner, const StateShower& showState);
    ~PageFeed();
    PageFeed(const PageFeed&) = delete;
    PageFeed& operator=(const PageFeed&) = delete;

    void start() { m_Feed.start(); }

private:
    PageRunner& m_Runner;
    MqttTagFeed m_Feed;
};

} // namespace vestrak
