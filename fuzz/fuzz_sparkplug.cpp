// The Sparkplug B topic and payload readers on arbitrary topics and payloads, checked against what
// must hold for any input: views stay inside the topic, a payload read is written back and read
// again to the same metrics, and every metric's value maps to a status or to unknown.
#include "feeds/sparkplug_payload.h"
#include "feeds/sparkplug_status_mapping.h"
#include "feeds/sparkplug_topic.h"

#include <QString>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool Inside(std::string_view part, std::string_view whole)
{
    return part.empty()
        || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    FuzzedDataProvider input(data, size);
    const std::string topic = input.ConsumeRandomLengthString(80);
    const std::string payload = input.ConsumeRemainingBytesAsString();

    const SparkplugTopicReading where = ReadSparkplugTopic(topic);
    if (!Inside(where.group, topic) || !Inside(where.node, topic))
        std::abort();
    if (where.topic
        && (where.topic->group.empty() || where.topic->node.empty() || !Inside(where.topic->device, topic)))
        std::abort();

    const SparkplugPayloadReading read = ReadSparkplugPayload(payload);
    if (read.payload.has_value() != read.problem.empty())
        std::abort();
    if (!read.payload)
        return 0;
    const QString tag = QStringLiteral("E/m");
    for (const SparkplugMetric& metric : read.payload->metrics) {
        const auto type = static_cast<SparkplugDataType>(metric.datatype.value_or(0));
        (void)DefaultSparkplugStatus({ tag, type, TypedSparkplugValue(type, metric.value) });
    }
    const SparkplugPayloadReading again = ReadSparkplugPayload(EncodeSparkplugPayload(*read.payload));
    if (!again.payload || again.payload->metrics.size() != read.payload->metrics.size()
        || again.payload->seq != read.payload->seq)
        std::abort();
    for (std::size_t index = 0; index < again.payload->metrics.size(); ++index) {
        const SparkplugMetric& before = read.payload->metrics[index];
        const SparkplugMetric& after = again.payload->metrics[index];
        if (before.name != after.name || before.alias != after.alias || before.isNull != after.isNull)
            std::abort();
    }
    return 0;
}
