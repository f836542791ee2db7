#pragma once

#include "../export.h"
#include "../feeds/mqtt_feed_options.h"
#include "../feeds/tag_status_source.h"

#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// The feeds' reports, category vestrak.feed.
VESTRAK_FEEDS_EXPORT const QLoggingCategory& VestrakFeedLog();

namespace vestrak {

class MosquittoConnection;

/// Plant statuses from an MQTT broker. Subscribes to PREFIX/#; the topic below the prefix is the tag
/// name and the payload its status value (see ReadStatusPayload). Retained messages give the
/// current state on connect. A tag without a good value, every tag while the broker cannot be
/// reached, and (with staleAfter set) a tag whose value has not been repeated in time, are unknown:
/// status 1. The feed keeps state for the tags asked for and a bounded number of other topics, so a
/// broker with any number of topics costs it no more. Runs on the thread of the Qt event loop that
/// owns it.
class VESTRAK_FEEDS_EXPORT MqttTagFeed final : public QObject, public TagStatusSource {
    Q_OBJECT
public:
    /// A clock that never goes back, in milliseconds.
    using MonotonicClock = std::function<std::chrono::milliseconds()>;

    /// A feed from the broker of options; start() connects it.
    explicit MqttTagFeed(const MqttFeedOptions& options, QObject* parent = nullptr);
    ~MqttTagFeed() override;

    /// Connects in the background and keeps reconnecting; returns at once.
    void start();

    /// Asking marks the tag as used by the page: its values are kept from then on.
    [[nodiscard]] std::int32_t status(const QString& tag) override;
    /// Whether the broker is connected now.
    [[nodiscard]] bool isConnected() const;
    /// The options it was made with.
    [[nodiscard]] const MqttFeedOptions& options() const { return m_Options; }
    /// The time that staleness is measured in; the steady clock unless set.
    void setMonotonicClock(MonotonicClock clock);
    /// The topics the feed holds state for: the tags asked for, and at most mostUnusedTopicsKept others.
    [[nodiscard]] qsizetype keptTopicCount() const { return m_Tags.size(); }

signals:
    /// The broker is connected (again).
    void connected();
    /// Once per loss of the broker (and once when it cannot be reached at start), with the reason.
    void connectionLost(const QString& reason);
    /// A good value or a withdrawal came for the tag.
    void tagUpdated(const QString& tag);

private:
    enum class Use {
        Unused,
        Asked,
    };
    struct TagValue {
        std::optional<std::int32_t> value;
        std::chrono::milliseconds receivedAt { 0 };
        Use use = Use::Unused;
        bool malformedReported = false;
    };

    void take(std::string_view topic, std::string_view payload);
    // The entry for a message's tag; nothing when the feed keeps no state for it.
    TagValue* entryFor(const QString& tag);
    void reportMalformedTopic(std::string_view topic);
    void lose(const QString& reason);
    void subscribeAgainForDroppedValues();

    MqttFeedOptions m_Options;
    MosquittoConnection* m_Connection = nullptr;
    QHash<QString, TagValue> m_Tags;
    qsizetype m_UnusedCount = 0;
    MonotonicClock m_Clock;
    QByteArray m_TopicPrefix;
    bool m_LossReported = false;
    // A message was dropped for want of room since the last subscription.
    bool m_MessagesDropped = false;
    // Since the connection was made: dropped messages and a topic that names no tag were reported.
    bool m_DropsReported = false;
    bool m_MalformedTopicReported = false;
    bool m_SubscriptionAgainPending = false;
};

} // namespace vestrak
