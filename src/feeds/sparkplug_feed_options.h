#pragma once

#include "../export.h"
#include "../feeds/mqtt_feed_options.h"
#include "../feeds/sparkplug_status_mapping.h"

#include <QStringList>
#include <chrono>

namespace vestrak {

/// Where a Sparkplug B feed finds its broker, which groups it reads, how it names and maps metrics.
struct SparkplugFeedOptions {
    /// Whether tag names begin with the group.
    enum class GroupInTagNames {
        No,
        Yes,
    };

    /// The broker, its security and reconnection; the prefix and staleness are not used: the topics
    /// are those of the groups, and a node's death certificate stands in for staleness.
    MqttFeedOptions connection;
    /// The feed subscribes to spBv1.0/GROUP/# for each.
    QStringList groups;
    /// Yes: a metric's tag is GROUP/EDGE_NODE[/DEVICE]/METRIC NAME, for plants whose groups share
    /// edge node names.
    GroupInTagNames groupInTagNames = GroupInTagNames::No;
    /// An edge node is asked for its births again at most once in this time.
    std::chrono::milliseconds rebirthInterval { 3000 };
    /// Makes a metric's value a status.
    SparkplugStatusMapper statusMapper = DefaultSparkplugStatus;
};

/// What ParseSparkplugUrl() makes of a feed URL.
struct ParsedSparkplugUrl {
    /// The options the URL gives; none when it is not a Sparkplug feed URL.
    std::optional<SparkplugFeedOptions> options;
    /// Why the URL is not a Sparkplug feed URL, in words; empty when it is.
    QString problem;
};

/// mqtt[s]://HOST[:PORT]/GROUP[,GROUP...]: the broker as for the plain feed, and one or more group
/// names, each a single topic level without wildcards.
VESTRAK_FEEDS_EXPORT ParsedSparkplugUrl ParseSparkplugUrl(const QString& url);

} // namespace vestrak
