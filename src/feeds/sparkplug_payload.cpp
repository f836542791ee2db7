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

std::string EncodeSparkplugPayload(const SparkplugPayload& payload)
{
    thread_local sparkplug::Payload message;
    message.Clear();
    if (payload.timestamp)
        message.set_timestamp(*payload.timestamp);
    if (payload.seq)
        message.set_seq(*payload.seq);
    for (const SparkplugMetric& metric : payload.metrics) {
        ProtoMetric& encoded = *message.add_metrics();
        if (metric.name)
            encoded.set_name(*metric.name);
        if (metric.alias)
            encoded.set_alias(*metric.alias);
        if (metric.timestamp)
            encoded.set_timestamp(*metric.timestamp);
        if (metric.datatype)
            encoded.set_datatype(*metric.datatype);
        if (metric.isHistorical)
            encoded.set_is_historical(true);
        if (metric.isNull)
            encoded.set_is_null(true);
        if (const auto* bits = std::get_if<std::uint64_t>(&metric.value)) {
            const std::uint32_t type = metric.datatype.value_or(0);
            const bool longValue = type == static_cast<std::uint32_t>(SparkplugDataType::Int64)
                || type == static_cast<std::uint32_t>(SparkplugDataType::UInt64)
                || type == static_cast<std::uint32_t>(SparkplugDataType::DateTime);
            if (longValue)
                encoded.set_long_value(*bits);
            else
                encoded.set_int_value(static_cast<std::uint32_t>(*bits));
        } else if (const auto* number = std::get_if<double>(&metric.value)) {
            if (metric.singlePrecision)
                encoded.set_float_value(static_cast<float>(*number));
            else
                encoded.set_double_value(*number);
        } else if (const auto* boolean = std::get_if<bool>(&metric.value)) {
            encoded.set_boolean_value(*boolean);
        } else if (const auto* text = std::get_if<std::string>(&metric.value)) {
            encoded.set_string_value(*text);
        }
    }
    return message.SerializeAsString();
}

std::string RebirthRequestPayload(std::uint64_t timestampMilliseconds)
{
    SparkplugPayload payload;
    payload.timestamp = timestampMilliseconds;
    SparkplugMetric& rebirth = payload.metrics.emplace_back();
    rebirth.name = "Node Control/Rebirth";
    rebirth.timestamp = timestampMilliseconds;
    rebirth.datatype = static_cast<std::uint32_t>(SparkplugDataType::Boolean);
    rebirth.value = true;
    return EncodeSparkplugPayload(payload);
}

} // namespace vestrak
