#pragma once

#include "../export.h"
#include "../feeds/sparkplug_feed_options.h"
#include "../feeds/tag_status_source.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vestrak {

class MosquittoConnection;
struct SparkplugMetric;
struct SparkplugPayload;

/// Plant statuses from Sparkplug B edge nodes, as a host application reads them: subscribes to
/// spBv1.0/GROUP/# for each group, learns each node's and device's metrics from its births, and
/// takes their values by alias or name from its data messages. A metric is the tag
/// EDGE_NODE/METRIC NAME, or EDGE_NODE/DEVICE/METRIC NAME for a device's, and its value becomes a
/// status through the options' mapper. Every metric of a node or device is unknown (1) from its
/// death certificate, a lost message (a gap in seq) or a death of a later session (bdSeq) until
/// its next birth, and every metric while the broker is lost. After a gap, or data from a node
/// without a birth, the node is asked for its births again (NCMD Node Control/Rebirth), at most
/// once per rebirthInterval. Runs on the thread of the Qt event loop that owns it.
class VESTRAK_FEEDS_EXPORT SparkplugFeed final : public QObject, public TagStatusSource {
    Q_OBJECT
public:
    /// A clock that never goes back, in milliseconds.
    using MonotonicClock = std::function<std::chrono::milliseconds()>;

    ///@{
    /// What edge nodes can make the feed hold at most: further nodes and devices are ignored, and a
    /// birth beyond the metrics is refused, each with a warning.
    static constexpr std::size_t MostSources = 10000;
    static constexpr std::size_t MostMetricsHeld = 200000;
    ///@}

    /// A feed from the broker and groups of options; start() connects it.
    explicit SparkplugFeed(SparkplugFeedOptions options, QObject* parent = nullptr);
    ~SparkplugFeed() override;

    /// Connects in the background and keeps reconnecting; returns at once.
    void start();

    /// The status of the tag's metric now; 1 (unknown) when it has none.
    [[nodiscard]] std::int32_t status(const QString& tag) override;
    /// When the value of a tag's metric was taken, in milliseconds since the epoch (the metric's own
    /// timestamp, else its message's); nothing while the tag is unknown or the message had none.
    [[nodiscard]] std::optional<std::uint64_t> timestamp(const QString& tag) const;
    /// Whether the broker is connected now.
    [[nodiscard]] bool isConnected() const;
    /// The options it was made with.
    [[nodiscard]] const SparkplugFeedOptions& options() const { return m_Options; }
    /// The time that rebirth requests are spaced in; the steady clock unless set.
    void setMonotonicClock(MonotonicClock clock);

signals:
    /// The broker is connected (again).
    void connected();
    /// Once per loss of the broker (and once when it cannot be reached at start), with the reason.
    void connectionLost(const QString& reason);
    /// A message changed what the tag answers.
    void tagUpdated(const QString& tag);
    /// The feed asked the edge node of the group for its births again.
    void rebirthRequested(const QString& group, const QString& edgeNode);

private:
    struct Metric;
    struct Source;
    struct Node;
    struct MetricPlace {
        Source* source = nullptr;
        std::uint32_t index = 0;
    };
    // What a node has been warned about: each once.
    enum class Problem : unsigned {
        Topic = 1U << 0U,
        Payload = 1U << 1U,
        MetricType = 1U << 2U,
        UnnamedMetric = 1U << 3U,
        UnknownMetric = 1U << 7U,
        TooManyMetrics = 1U << 4U,
        LostMessage = 1U << 5U,
        TooManyDevices = 1U << 6U,
    };

    void take(std::string_view topic, std::string_view payload);
    void takeOutsideTheNamespace(std::string_view topic, std::string_view group, std::string_view node);
    void lose(const QString& reason);
    void askAllForBirths();

    Node* nodeFor(std::string_view group, std::string_view name);
    Source* deviceFor(Node& node, std::string_view name);
    [[nodiscard]] bool inSequence(Node& node, const SparkplugPayload& payload);
    void nodeBirth(Node& node, const SparkplugPayload& payload);
    void nodeDeath(Node& node, const SparkplugPayload& payload);
    void define(Source& source, Node& node, const SparkplugPayload& payload);
    void update(Source& source, Node& node, const SparkplugPayload& payload);
    void takeValue(Metric& metric, const SparkplugMetric& sent, const SparkplugPayload& payload);
    void forgetMetrics(Source& source);
    void loseMessage(Node& node, const SparkplugPayload& payload);
    void silence(Source& source);
    void silence(Node& node);
    void askForBirths(Node& node);
    void report(Node& node, Problem problem, const QString& what);

    SparkplugFeedOptions m_Options;
    MosquittoConnection* m_Connection = nullptr;
    MonotonicClock m_Clock;
    std::unordered_map<std::string, std::unique_ptr<Node>> m_Nodes;
    QHash<QString, MetricPlace> m_Tags;
    std::size_t m_SourceCount = 0;
    std::size_t m_MetricsHeld = 0;
    bool m_LossReported = false;
    bool m_OutsideReported = false;
    bool m_TooManySourcesReported = false;
};

} // namespace vestrak
