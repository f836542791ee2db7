#pragma once

#include "../export.h"

#include <QString>
#include <chrono>
#include <optional>

namespace vestrak {

/// Where a tag feed finds its broker and how it talks to it.
struct MqttFeedOptions {
    /// How the feed talks to the broker.
    enum class Transport {
        /// Plain MQTT.
        Plain,
        /// MQTT over TLS.
        Tls,
    };

    /// The broker's host name or address.
    QString host = QStringLiteral("127.0.0.1");
    /// The broker's port.
    int port = 1883;
    /// The feed subscribes to PREFIX/# (to # when empty); the topic below the prefix is the tag name.
    QString prefix;
    /// Plain MQTT or TLS.
    Transport transport = Transport::Plain;
    ///@{
    /// The login; an empty user logs in with none.
    QString user;
    QString password;
    ///@}
    ///@{
    /// TLS: the certificate authorities to trust (empty: those of the system), and the client's
    /// own certificate and key when the broker asks for one.
    QString caFile;
    QString certificateFile;
    QString keyFile;
    ///@}
    /// A tag whose last value is older than this is unknown; zero leaves values valid for as long
    /// as the connection holds.
    std::chrono::seconds staleAfter { 0 };
    ///@{
    /// Reconnection waits this long after the first failure, twice as long after each further one,
    /// up to the longest delay.
    std::chrono::milliseconds firstRetryDelay { 500 };
    std::chrono::milliseconds longestRetryDelay { 30000 };
    ///@}
    /// A silent connection is found lost after one to two of these periods.
    int keepAliveSeconds = 10;
    /// The feed keeps the values of the tags asked for, and of at most this many other topics (a
    /// page's first queries find what the broker sent before them); it drops the rest.
    int mostUnusedTopicsKept = 10000;
};

/// What ParseFeedUrl() makes of a feed URL.
struct ParsedFeedUrl {
    /// The options the URL gives; none when it is not a feed URL.
    std::optional<MqttFeedOptions> options;
    /// Why the URL is not a feed URL, in words; empty when it is.
    QString problem;
};

/// mqtt://HOST[:PORT][/PREFIX] (port 1883) or mqtts://HOST[:PORT][/PREFIX] (TLS, port 8883). The
/// prefix may have several levels; it may not hold the wildcards + and #.
VESTRAK_FEEDS_EXPORT ParsedFeedUrl ParseFeedUrl(const QString& url);

} // namespace vestrak
