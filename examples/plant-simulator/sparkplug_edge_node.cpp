#include "sparkplug_edge_node.h"

#include "feeds/sparkplug_payload.h"
#include "feeds/sparkplug_topic.h"

#include <chrono>
#include <mosquitto.h>

namespace vestrak {

namespace {

constexpr std::uint64_t SequenceModulus = 256;
constexpr std::string_view RebirthMetric = "Node Control/Rebirth";

std::uint64_t Now()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch())
                                          .count());
}

SparkplugMetric BirthDeathSequence(std::uint64_t value)
{
    SparkplugMetric metric;
    metric.name = "bdSeq";
    metric.datatype = static_cast<std::uint32_t>(SparkplugDataType::UInt64);
    metric.value = value;
    return metric;
}

SparkplugMetric Status(std::uint64_t alias, std::int32_t status)
{
    SparkplugMetric metric;
    metric.alias = alias;
    metric.datatype = static_cast<std::uint32_t>(SparkplugDataType::Int32);
    metric.value = std::uint64_t { static_cast<std::uint32_t>(status) };
    return metric;
}

} // namespace

SparkplugEdgeNode::SparkplugEdgeNode(mosquitto* client, std::string group, std::string node)
    : m_Client(client)
    , m_Group(std::move(group))
    , m_Node(std::move(node))
{
}

void SparkplugEdgeNode::prepareConnection()
{
    ++m_BirthDeathSequence;
    SparkplugPayload death;
    death.timestamp = Now();
    death.metrics.push_back(BirthDeathSequence(m_BirthDeathSequence % SequenceModulus));
    const std::string payload = EncodeSparkplugPayload(death);
    const std::string topic = "spBv1.0/" + m_Group + "/NDEATH/" + m_Node;
    mosquitto_will_set(m_Client, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 0, false);
}

bool SparkplugEdgeNode::connected(const Statuses& statuses)
{
    const std::string commands = "spBv1.0/" + m_Group + "/NCMD/" + m_Node;
    m_Current = statuses;
    return mosquitto_subscribe(m_Client, nullptr, commands.c_str(), 0) == MOSQ_ERR_SUCCESS && birth();
}

bool SparkplugEdgeNode::birth()
{
    m_Sequence = 0;
    SparkplugPayload birth;
    birth.timestamp = Now();
    birth.seq = nextSequence();
    birth.metrics.push_back(BirthDeathSequence(m_BirthDeathSequence % SequenceModulus));
    SparkplugMetric& rebirth = birth.metrics.emplace_back();
    rebirth.name = std::string(RebirthMetric);
    rebirth.datatype = static_cast<std::uint32_t>(SparkplugDataType::Boolean);
    rebirth.value = false;
    for (const auto& [tag, status] : m_Current) {
        const auto [place, added] = m_Aliases.emplace(tag, m_Aliases.size() + 1);
        SparkplugMetric& metric = birth.metrics.emplace_back(Status(place->second, status));
        metric.name = tag;
    }
    m_Published.clear();
    for (const auto& [tag, status] : m_Current)
        m_Published[tag] = status;
    m_BirthWanted = false;
    return publish("NBIRTH", EncodeSparkplugPayload(birth));
}

bool SparkplugEdgeNode::publishChanges(const Statuses& statuses)
{
    m_Current = statuses;
    if (m_BirthWanted)
        return birth();
    SparkplugPayload data;
    data.timestamp = Now();
    for (const auto& [tag, status] : statuses) {
        const auto published = m_Published.find(tag);
        const auto alias = m_Aliases.find(tag);
        if (alias == m_Aliases.end())
            return birth();
        if (published != m_Published.end() && published->second == status)
            continue;
        data.metrics.push_back(Status(alias->second, status));
        m_Published[tag] = status;
    }
    if (data.metrics.empty())
        return true;
    data.seq = nextSequence();
    return publish("NDATA", EncodeSparkplugPayload(data));
}

void SparkplugEdgeNode::take(std::string_view topic, std::string_view payload)
{
    const SparkplugTopicReading reading = ReadSparkplugTopic(topic);
    if (!reading.topic || reading.topic->kind != SparkplugTopic::Kind::NodeCommand)
        return;
    const SparkplugPayloadReading command = ReadSparkplugPayload(payload);
    if (!command.payload)
        return;
    for (const SparkplugMetric& metric : command.payload->metrics) {
        if (metric.name == RebirthMetric && metric.value == SparkplugMetric::Value(true))
            m_BirthWanted = true;
    }
}

bool SparkplugEdgeNode::publish(const std::string& kind, std::string payload)
{
    const std::string topic = "spBv1.0/" + m_Group + "/" + kind + "/" + m_Node;
    return mosquitto_publish(
               m_Client, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 0, false)
        == MOSQ_ERR_SUCCESS;
}

std::uint64_t SparkplugEdgeNode::nextSequence()
{
    const std::uint64_t sequence = m_Sequence;
    m_Sequence = (m_Sequence + 1) % SequenceModulus;
    return sequence;
}

} // namespace vestrak
