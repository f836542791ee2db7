#pragma once

#include "feeds/mqtt_tag_feed.h"
#include "feeds/sparkplug_feed.h"
#include "page_feed_options.h"

#include <functional>
#include <memory>
#include <string>

namespace vestrak {

class PageRunner;

// Feeds a page's tag table from an MQTT broker, with plain values or from Sparkplug B edge nodes:
// `answer` gives every tag the feed's status (unknown while there is none), and a tag's next
// message takes over from a `tag` line of the page. The broker's state goes to standard error, a
// loss once, and to a line that stays shown.
class PageFeed {
public:
    using StateShower = std::function<void(const QString&)>;

    struct Created {
        std::unique_ptr<PageFeed> feed;
        std::string problem;
    };
    // Fails when the options cannot make a feed (bad address, unreadable password or rules file).
    static Created Create(const PageFeedOptions& options, PageRunner& runner, const StateShower& showState);

    PageFeed(std::unique_ptr<MqttTagFeed> feed, PageRunner& runner, const StateShower& showState);
    PageFeed(std::unique_ptr<SparkplugFeed> feed, PageRunner& runner, const StateShower& showState);
    ~PageFeed();
    PageFeed(const PageFeed&) = delete;
    PageFeed& operator=(const PageFeed&) = delete;

    void start();

private:
    // How the feed is named in the status line ("MQTT") and on standard error.
    struct Naming {
        QString kind;
        std::string origin;
    };

    template<typename Feed>
    void wire(
        Feed& feed, const MqttFeedOptions& connection, const Naming& naming, const StateShower& showState);

    PageRunner& m_Runner;
    std::unique_ptr<MqttTagFeed> m_PlainFeed;
    std::unique_ptr<SparkplugFeed> m_SparkplugFeed;
};

} // namespace vestrak
