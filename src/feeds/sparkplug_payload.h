#pragma once

#include "../export.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vestrak {

/// The data types a Sparkplug B metric declares; numbers 22 and above are arrays.
enum class SparkplugDataType : std::uint32_t {
    Unknown = 0,
    Int8 = 1,
    Int16 = 2,
    Int32 = 3,
    Int64 = 4,
    UInt8 = 5,
    UInt16 = 6,
    UInt32 = 7,
    UInt64 = 8,
    Float = 9,
    Double = 10,
    Boolean = 11,
    String = 12,
    DateTime = 13,
    Text = 14,
    Uuid = 15,
    DataSet = 16,
    Bytes = 17,
    File = 18,
    Template = 19,
    PropertySet = 20,
    PropertySetList = 21,
    /// The last array type (DateTimeArray); anything above is no type at all.
    LastArray = 34,
};

/// One metric as it travelled.
struct SparkplugMetric {
    /// Neither an integer field (int_value or long_value, as raw bits), a floating one, a Boolean
    /// nor a text: a value the feed does not read (bytes, data set, template), or none.
    using Value = std::variant<std::monostate, std::uint64_t, double, bool, std::string>;

    /// The metric's name; births carry it, data messages may give the alias alone.
    std::optional<std::string> name;
    /// The number a birth gave the metric, so that data messages can name it briefly.
    std::optional<std::uint64_t> alias;
    /// Milliseconds since the epoch.
    std::optional<std::uint64_t> timestamp;
    /// The SparkplugDataType number the metric declares.
    std::optional<std::uint32_t> datatype;
    /// A value from the past, sent again: not the metric's current one.
    bool isHistorical = false;
    /// The metric has no value.
    bool isNull = false;
    /// The value as it travelled.
    Value value;
    /// Set for a float_value, so that rules compare it at the width it was sent.
    bool singlePrecision = false;
};

/// One Sparkplug B message.
struct SparkplugPayload {
    /// When it was sent, in milliseconds since the epoch.
    std::optional<std::uint64_t> timestamp;
    /// Its sequence number, by which a gap tells a lost message.
    std::optional<std::uint64_t> seq;
    /// The metrics it carries.
    std::vector<SparkplugMetric> metrics;
};

/// What ReadSparkplugPayload() makes of a message.
struct SparkplugPayloadReading {
    /// The payload; none when the bytes are not one.
    std::optional<SparkplugPayload> payload;
    /// Why there is none, in words.
    std::string problem;
};

///@{
/// Payloads beyond these are refused unread, so that one message cannot take unbounded memory.
constexpr std::size_t MostSparkplugPayloadBytes = std::size_t { 4 } * 1024 * 1024;
constexpr std::size_t MostSparkplugMetricsPerPayload = 50000;
///@}

/// Reads one payload; a payload it cannot read gives the problem instead of metrics.
VESTRAK_FEEDS_EXPORT SparkplugPayloadReading ReadSparkplugPayload(std::string_view bytes);

/// A payload as an edge node publishes it: integer values go in int_value for the types up to 32
/// bits and in long_value for the others, a single-precision number in float_value.
VESTRAK_FEEDS_EXPORT std::string EncodeSparkplugPayload(const SparkplugPayload& payload);

/// What a host sends in an NCMD to have an edge node publish its births again: the Boolean
/// metric "Node Control/Rebirth", true.
VESTRAK_FEEDS_EXPORT std::string RebirthRequestPayload(std::uint64_t timestampMilliseconds);

} // namespace vestrak
