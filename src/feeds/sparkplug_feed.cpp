#include "feeds/sparkplug_feed.h"

#include "feeds/mosquitto_connection.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/sparkplug_payload.h"
#include "feeds/sparkplug_topic.h"

#include <QDateTime>

namespace vestrak {

namespace {

constexpr std::uint64_t SequenceModulus = 256;
// A death's bdSeq this far ahead of the birth's (modulo 256) is of a later session.
constexpr std::uint64_t LaterSessionSpan = SequenceModulus / 2;
constexpr std::string_view BirthDeathSequenceMetric = "bdSeq";

std::chrono::milliseconds SteadyNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A name from the wire, fit for one log line: control characters become "?".
QString Printable(std::string_view text)
{
    QString printable = FromUtf8(text);
    for (QChar& character : printable) {
        if (character.category() == QChar::Other_Control)
            character = QLatin1Char('?');
    }
    return printable;
}

bool IsKnownType(std::uint32_t type)
{
    return type != 0 && type <= static_cast<std::uint32_t>(SparkplugDataType::LastArray);
}

std::optional<std::uint64_t> BirthDeathSequenceOf(const SparkplugPayload& payload)
{
    for (const SparkplugMetric& metric : payload.metrics) {
        if (metric.name == BirthDeathSequenceMetric) {
            if (const auto* value = std::get_if<std::uint64_t>(&metric.value))
                return *value;
        }
    }
    return std::nullopt;
}

} // namespace

struct SparkplugFeed::Metric {
    QString tag;
    SparkplugDataType type = SparkplugDataType::Unknown;
    std::optional<std::int32_t> status;
    // Of the value held, in milliseconds since the epoch; 0 when its message had none.
    std::uint64_t timestamp = 0;
};

// A node or one of its devices: the metrics of its last birth, and whether they are trusted.
struct SparkplugFeed::Source {
    // A device's node; null for a node.
    Node* node = nullptr;
    bool alive = false;
    // EDGE_NODE/ or EDGE_NODE/DEVICE/, after the group when the tags name it.
    QString tagPrefix;
    std::vector<Metric> metrics;
    std::unordered_map<std::uint64_t, std::uint32_t> byAlias;
    std::unordered_map<std::string, std::uint32_t> byName;

    [[nodiscard]] bool trusted() const;
};

struct SparkplugFeed::Node : Source {
    QString group;
    QString name;
    std::unordered_map<std::string, std::unique_ptr<Source>> devices;
    // Of the current birth.
    std::optional<std::uint64_t> birthDeathSequence;
    std::optional<std::uint64_t> nextSequence;
    std::optional<std::chrono::milliseconds> lastRebirthRequest;
    unsigned reported = 0;
};

bool SparkplugFeed::Source::trusted() const
{
    return alive && (!node || node->alive);
}

SparkplugFeed::SparkplugFeed(SparkplugFeedOptions options, QObject* parent)
    : QObject(parent)
    , m_Options(std::move(options))
    , m_Clock(SteadyNow)
{
    QStringList filters;
    for (const QString& group : std::as_const(m_Options.groups))
        filters.append(QStringLiteral("spBv1.0/%1/#").arg(group));
    m_Connection = new MosquittoConnection(m_Options.connection, filters, this);
    connect(m_Connection, &MosquittoConnection::connected, this, [this] {
        m_LossReported = false;
        askAllForBirths();
        emit connected();
    });
    connect(m_Connection, &MosquittoConnection::connectionFailed, this, &SparkplugFeed::lose);
    connect(m_Connection, &MosquittoConnection::messageArrived, this, &SparkplugFeed::take);
}

SparkplugFeed::~SparkplugFeed() = default;

void SparkplugFeed::start()
{
    m_Connection->open();
}

bool SparkplugFeed::isConnected() const
{
    return m_Connection->isConnected();
}

void SparkplugFeed::setMonotonicClock(MonotonicClock clock)
{
    m_Clock = std::move(clock);
}

std::int32_t SparkplugFeed::status(const QString& tag)
{
    if (!isConnected())
        return UnknownStatus;
    const auto found = m_Tags.constFind(tag);
    if (found == m_Tags.cend() || !found->source->trusted())
        return UnknownStatus;
    return found->source->metrics[found->index].status.value_or(UnknownStatus);
}

std::optional<std::uint64_t> SparkplugFeed::timestamp(const QString& tag) const
{
    const auto found = m_Tags.constFind(tag);
    if (!isConnected() || found == m_Tags.cend() || !found->source->trusted())
        return std::nullopt;
    const std::uint64_t taken = found->source->metrics[found->index].timestamp;
    return taken == 0 ? std::nullopt : std::optional<std::uint64_t>(taken);
}

void SparkplugFeed::take(std::string_view topic, std::string_view payload)
{
    const SparkplugTopicReading reading = ReadSparkplugTopic(topic);
    if (!reading.topic) {
        takeOutsideTheNamespace(topic, reading.group, reading.node);
        return;
    }
    using Kind = SparkplugTopic::Kind;
    const SparkplugTopic& where = *reading.topic;
    // Commands are for the nodes; ours come back to us.
    if (where.kind == Kind::NodeCommand || where.kind == Kind::DeviceCommand)
        return;
    Node* node = nodeFor(where.group, where.node);
    if (!node)
        return;
    const SparkplugPayloadReading read = ReadSparkplugPayload(payload);
    if (!read.payload) {
        report(*node, Problem::Payload, QStringLiteral("ignored ") + QString::fromStdString(read.problem));
        return;
    }
    const SparkplugPayload& message = *read.payload;
    if (where.kind == Kind::NodeBirth) {
        nodeBirth(*node, message);
        return;
    }
    if (where.kind == Kind::NodeDeath) {
        nodeDeath(*node, message);
        return;
    }
    if (!node->alive) {
        askForBirths(*node);
        return;
    }
    if (!inSequence(*node, message)) {
        loseMessage(*node, message);
        return;
    }
    if (where.kind == Kind::NodeData) {
        update(*node, *node, message);
        return;
    }
    Source* device = deviceFor(*node, where.device);
    if (!device)
        return;
    if (where.kind == Kind::DeviceBirth) {
        define(*device, *node, message);
    } else if (!device->alive) {
        // A device's data without its birth: only the node's rebirth brings the birth again.
        askForBirths(*node);
    } else if (where.kind == Kind::DeviceData) {
        update(*device, *node, message);
    } else {
        silence(*device);
    }
}

void SparkplugFeed::takeOutsideTheNamespace(
    std::string_view topic, std::string_view group, std::string_view node)
{
    if (!node.empty()) {
        if (Node* known = nodeFor(group, node))
            report(*known, Problem::Topic,
                QStringLiteral("ignored a topic that is no Sparkplug B message: %1").arg(Printable(topic)));
        return;
    }
    if (m_OutsideReported)
        return;
    m_OutsideReported = true;
    qCWarning(VestrakFeedLog).noquote()
        << QStringLiteral("ignored the topic \"%1\" and any others outside the Sparkplug B namespace")
               .arg(Printable(topic));
}

// Values from before a loss are not trusted after it: the nodes are asked for their births on
// the next connection.
void SparkplugFeed::lose(const QString& reason)
{
    for (auto& [key, node] : m_Nodes) {
        node->alive = false;
        node->nextSequence.reset();
        node->lastRebirthRequest.reset();
    }
    if (m_LossReported)
        return;
    m_LossReported = true;
    emit connectionLost(reason);
}

void SparkplugFeed::askAllForBirths()
{
    for (auto& [key, node] : m_Nodes)
        askForBirths(*node);
}

SparkplugFeed::Node* SparkplugFeed::nodeFor(std::string_view group, std::string_view name)
{
    std::string key;
    key.reserve(group.size() + 1 + name.size());
    key.append(group).append(1, '/').append(name);
    const auto found = m_Nodes.find(key);
    if (found != m_Nodes.end())
        return found->second.get();
    if (m_SourceCount == MostSources) {
        if (!m_TooManySourcesReported)
            qCWarning(VestrakFeedLog).noquote() << QStringLiteral(
                "ignored the edge node \"%1\" and any other beyond %2 edge nodes and devices")
                                                       .arg(Printable(key))
                                                       .arg(MostSources);
        m_TooManySourcesReported = true;
        return nullptr;
    }
    ++m_SourceCount;
    auto node = std::make_unique<Node>();
    node->group = FromUtf8(group);
    node->name = FromUtf8(name);
    node->tagPrefix = (m_Options.groupInTagNames == SparkplugFeedOptions::GroupInTagNames::Yes
                              ? node->group + QLatin1Char('/')
                              : QString())
        + node->name + QLatin1Char('/');
    return m_Nodes.emplace(std::move(key), std::move(node)).first->second.get();
}

SparkplugFeed::Source* SparkplugFeed::deviceFor(Node& node, std::string_view name)
{
    const std::string key(name);
    const auto found = node.devices.find(key);
    if (found != node.devices.end())
        return found->second.get();
    if (m_SourceCount == MostSources) {
        report(node, Problem::TooManyDevices,
            QStringLiteral("ignored the device \"%1\": the feed holds %2 edge nodes and devices at most")
                .arg(Printable(name))
                .arg(MostSources));
        return nullptr;
    }
    ++m_SourceCount;
    auto device = std::make_unique<Source>();
    device->node = &node;
    device->tagPrefix = node.tagPrefix + FromUtf8(name) + QLatin1Char('/');
    return node.devices.emplace(key, std::move(device)).first->second.get();
}

bool SparkplugFeed::inSequence(Node& node, const SparkplugPayload& payload)
{
    if (!payload.seq)
        return true;
    const bool expected = !node.nextSequence || *payload.seq == *node.nextSequence;
    node.nextSequence = (*payload.seq + 1) % SequenceModulus;
    return expected;
}

void SparkplugFeed::nodeBirth(Node& node, const SparkplugPayload& payload)
{
    node.nextSequence.reset();
    (void)inSequence(node, payload);
    node.birthDeathSequence = BirthDeathSequenceOf(payload);
    // Every device publishes its birth again after its node's.
    for (auto& [name, device] : node.devices)
        silence(*device);
    define(node, node, payload);
}

// A death of the current session, or of a later one whose birth was missed, ends the node's
// values; one of an earlier session (a will the broker sent late) is stale.
void SparkplugFeed::nodeDeath(Node& node, const SparkplugPayload& payload)
{
    const std::optional<std::uint64_t> deathSequence = BirthDeathSequenceOf(payload);
    if (deathSequence && node.birthDeathSequence) {
        const std::uint64_t ahead = (*deathSequence - *node.birthDeathSequence) % SequenceModulus;
        if (ahead >= LaterSessionSpan)
            return;
    }
    silence(node);
}

void SparkplugFeed::define(Source& source, Node& node, const SparkplugPayload& payload)
{
    forgetMetrics(source);
    if (m_MetricsHeld + payload.metrics.size() > MostMetricsHeld) {
        report(node, Problem::TooManyMetrics,
            QStringLiteral("ignored a birth of %1 metrics: the feed holds %2 metrics at most")
                .arg(payload.metrics.size())
                .arg(MostMetricsHeld));
        return;
    }
    source.metrics.reserve(payload.metrics.size());
    for (const SparkplugMetric& sent : payload.metrics) {
        if (!sent.name) {
            report(node, Problem::UnnamedMetric, QStringLiteral("ignored a birth metric without a name"));
            continue;
        }
        const std::uint32_t type = sent.datatype.value_or(0);
        if (!IsKnownType(type))
            report(node, Problem::MetricType,
                QStringLiteral("the metric \"%1\" has the unknown type %2; it shows unknown")
                    .arg(Printable(*sent.name))
                    .arg(type));
        const auto index = static_cast<std::uint32_t>(source.metrics.size());
        Metric& metric = source.metrics.emplace_back();
        metric.tag = source.tagPrefix + FromUtf8(*sent.name);
        metric.type = IsKnownType(type) ? static_cast<SparkplugDataType>(type) : SparkplugDataType::Unknown;
        source.byName[*sent.name] = index;
        if (sent.alias)
            source.byAlias[*sent.alias] = index;
        m_Tags.insert(metric.tag, { &source, index });
        if (!sent.isHistorical)
            takeValue(metric, sent, payload);
    }
    m_MetricsHeld += source.metrics.size();
    source.alive = true;
}

void SparkplugFeed::update(Source& source, Node& node, const SparkplugPayload& payload)
{
    for (const SparkplugMetric& sent : payload.metrics) {
        // History fills gaps in a historian; the status shows what is now.
        if (sent.isHistorical)
            continue;
        const auto found = sent.alias ? source.byAlias.find(*sent.alias) : source.byAlias.end();
        std::uint32_t index = 0;
        if (found != source.byAlias.end()) {
            index = found->second;
        } else if (const auto named = sent.name ? source.byName.find(*sent.name) : source.byName.end();
                   named != source.byName.end()) {
            index = named->second;
        } else {
            report(node, Problem::UnknownMetric,
                sent.alias
                    ? QStringLiteral("ignored data for the alias %1, which no birth named").arg(*sent.alias)
                    : QStringLiteral("ignored data for the metric \"%1\", which no birth named")
                          .arg(Printable(sent.name.value_or(std::string()))));
            continue;
        }
        takeValue(source.metrics[index], sent, payload);
    }
}

void SparkplugFeed::takeValue(Metric& metric, const SparkplugMetric& sent, const SparkplugPayload& payload)
{
    metric.timestamp = sent.timestamp.value_or(payload.timestamp.value_or(0));
    if (sent.isNull) {
        metric.status.reset();
    } else {
        metric.status = m_Options.statusMapper(
            { metric.tag, metric.type, TypedSparkplugValue(metric.type, sent.value), metric.timestamp });
    }
    emit tagUpdated(metric.tag);
}

void SparkplugFeed::forgetMetrics(Source& source)
{
    for (std::uint32_t index = 0; index < source.metrics.size(); ++index) {
        const auto found = m_Tags.find(source.metrics[index].tag);
        if (found != m_Tags.end() && found->source == &source && found->index == index)
            m_Tags.erase(found);
    }
    m_MetricsHeld -= source.metrics.size();
    source.metrics.clear();
    source.byAlias.clear();
    source.byName.clear();
    source.alive = false;
}

void SparkplugFeed::loseMessage(Node& node, const SparkplugPayload& payload)
{
    report(node, Problem::LostMessage,
        QStringLiteral(
            "lost a message (seq %1 came out of turn); its values are unknown until its next birth")
            .arg(payload.seq.value_or(0)));
    silence(node);
    askForBirths(node);
}

void SparkplugFeed::silence(Source& source)
{
    const bool wasTrusted = source.trusted();
    source.alive = false;
    if (!wasTrusted)
        return;
    for (const Metric& metric : source.metrics)
        emit tagUpdated(metric.tag);
}

void SparkplugFeed::silence(Node& node)
{
    node.nextSequence.reset();
    if (!node.alive)
        return;
    for (const Metric& metric : node.metrics)
        emit tagUpdated(metric.tag);
    for (auto& [name, device] : node.devices)
        silence(*device);
    node.alive = false;
}

void SparkplugFeed::askForBirths(Node& node)
{
    if (!isConnected())
        return;
    const std::chrono::milliseconds now = m_Clock();
    if (node.lastRebirthRequest && now - *node.lastRebirthRequest < m_Options.rebirthInterval)
        return;
    node.lastRebirthRequest = now;
    const QString topic = QStringLiteral("spBv1.0/%1/NCMD/%2").arg(node.group, node.name);
    if (m_Connection->publish(
            topic, RebirthRequestPayload(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()))))
        emit rebirthRequested(node.group, node.name);
}

void SparkplugFeed::report(Node& node, Problem problem, const QString& what)
{
    const auto bit = static_cast<unsigned>(problem);
    if ((node.reported & bit) != 0)
        return;
    node.reported |= bit;
    qCWarning(VestrakFeedLog).noquote()
        << QStringLiteral("Sparkplug edge node \"%1/%2\": %3").arg(node.group, node.name, what);
}

} // namespace vestrak
