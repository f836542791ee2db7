#include "feeds/sparkplug_payload.h"

#include "sparkplug_b.pb.h"

#include <google/protobuf/io/coded_stream.h>
#include <google/protobuf/wire_format_lite.h>

namespace vestrak {

namespace {

using ProtoMetric = sparkplug::Payload::Metric;

SparkplugMetric::Value ValueOf(const ProtoMetric& metric)
{
    switch (metric.value_case()) {
    case ProtoMetric::kIntValue:
        return std::uint64_t { metric.int_value() };
    case ProtoMetric::kLongValue:
        return std::uint64_t { metric.long_value() };
    case ProtoMetric::kFloatValue:
        return double { metric.float_value() };
    case ProtoMetric::kDoubleValue:
        return metric.double_value();
    case ProtoMetric::kBooleanValue:
        return metric.boolean_value();
    case ProtoMetric::kStringValue:
        return metric.string_value();
    default:
        return std::monostate {};
    }
}

// The metrics of a payload, counted from the wire before it is parsed, so that a payload of very
// many tiny metrics is refused before they are made; nullopt when the payload is malformed.
std::optional<std::size_t> MetricCount(std::string_view bytes)
{
    using google::protobuf::internal::WireFormatLite;
    constexpr std::uint32_t MetricsField = 2;
    google::protobuf::io::CodedInputStream input(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    std::size_t count = 0;
    for (std::uint32_t tag = input.ReadTag(); tag != 0; tag = input.ReadTag()) {
        if (WireFormatLite::GetTagFieldNumber(tag) == MetricsField)
            ++count;
        if (!WireFormatLite::SkipField(&input, tag))
            return std::nullopt;
    }
    if (!input.ConsumedEntireMessage())
        return std::nullopt;
    return count;
}

template<typename Field> std::optional<Field> Optional(bool present, Field value)
{
    return present ? std::optional<Field>(value) : std::nullopt;
}

} // namespace

SparkplugPayloadReading ReadSparkplugPayload(std::string_view bytes)
{
    if (bytes.size() > MostSparkplugPayloadBytes)
        return { std::nullopt,
            "a payload of " + std::to_string(bytes.size()) + " bytes, more than "
                + std::to_string(MostSparkplugPayloadBytes) };
    const std::optional<std::size_t> metricCount = MetricCount(bytes);
    if (metricCount > MostSparkplugMetricsPerPayload)
        return { std::nullopt,
            "a payload of " + std::to_string(*metricCount) + " metrics, more than "
                + std::to_string(MostSparkplugMetricsPerPayload) };
    // One message object per thread, cleared between payloads, keeps its buffers.
    thread_local sparkplug::Payload message;
    message.Clear();
    if (!metricCount || !message.ParseFromArray(bytes.data(), static_cast<int>(bytes.size())))
        return { std::nullopt, "a payload that is not a Sparkplug B message" };
    SparkplugPayload payload;
    payload.timestamp = Optional(message.has_timestamp(), message.timestamp());
    payload.seq = Optional(message.has_seq(), message.seq());
    payload.metrics.reserve(static_cast<std::size_t>(message.metrics_size()));
    for (const ProtoMetric& metric : message.metrics()) {
        SparkplugMetric& taken = payload.metrics.emplace_back();
        if (metric.has_name())
            taken.name = metric.name();
        taken.alias = Optional(metric.has_alias(), metric.alias());
        taken.timestamp = Optional(metric.has_timestamp(), metric.timestamp());
        taken.datatype = Optional(metric.has_datatype(), metric.datatype());
        taken.isHistorical = metric.is_historical();
        taken.isNull = metric.is_null();
        taken.value = ValueOf(metric);
        taken.singlePrecision = metric.value_case() == ProtoMetric::kFloatValue;
    }
    return { std::move(payload), {} };
}

std::string RebirthRequestPayload(std::uint64_t timestampMilliseconds)
{
    sparkplug::Payload message;
    message.set_timestamp(timestampMilliseconds);
    ProtoMetric& rebirth = *message.add_metrics();
    rebirth.set_name("Node Control/Rebirth");
    rebirth.set_timestamp(timestampMilliseconds);
    rebirth.set_datatype(static_cast<std::uint32_t>(SparkplugDataType::Boolean));
    rebirth.set_boolean_value(true);
    return message.SerializeAsString();
}

} // namespace vestrak
