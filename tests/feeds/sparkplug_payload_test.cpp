#include "feeds/sparkplug_feed_options.h"
#include "feeds/sparkplug_payload.h"
#include "feeds/sparkplug_status_mapping.h"
#include "feeds/sparkplug_topic.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

using Type = SparkplugDataType;

// The reading as MESSAGE GROUP/NODE/DEVICE, the message "-" for a topic refused.
std::string Reading(std::string_view topic)
{
    constexpr const char* Messages[]
        = { "NBIRTH", "NDATA", "NDEATH", "NCMD", "DBIRTH", "DDATA", "DDEATH", "DCMD" };
    const SparkplugTopicReading reading = ReadSparkplugTopic(topic);
    const SparkplugTopic read = reading.topic.value_or(SparkplugTopic {});
    return (reading.topic ? Messages[static_cast<int>(read.kind)] + (" " + std::string(read.group))
                          : "- " + std::string(reading.group))
        + "/" + std::string(reading.node) + "/" + std::string(read.device);
}

TEST(SparkplugTopicTest, TopicsOutsideTheNamespaceAreRefused)
{
    const std::pair<const char*, const char*> cases[]
        = { { "spBv1.0/plant/NBIRTH/edge 1", "NBIRTH plant/edge 1/" },
              { "spBv1.0/plant/DDATA/edge 1/pump ü", "DDATA plant/edge 1/pump ü" },
              { "spBv1.0/plant/NDEATH/e", "NDEATH plant/e/" }, { "spBv1.0/plant/NCMD/e", "NCMD plant/e/" },
              { "spBv1.0/plant/DDEATH/e/d", "DDEATH plant/e/d" }, { "spBv1.0/plant/NDATA/e/d", "- plant/e/" },
              { "spBv1.0/plant/DDATA/e", "- plant/e/" }, { "spBv1.0/plant/DDATA/e/", "- plant/e/" },
              { "spBv1.0/plant/BIRTH/e", "- plant/e/" }, { "spBv1.0/plant/DDATA/e/d/x", "- //" },
              { "spBv1.0/plant/NDATA/", "- //" }, { "spBv1.0/plant/NDATA", "- //" },
              { "spBv1.0//NDATA/e", "- //" }, { "spAv1.0/plant/NDATA/e", "- //" }, { "", "- //" } };
    for (const auto& [topic, reading] : cases)
        EXPECT_EQ(Reading(topic), reading);
}

// Field by field, as the metric struct has no comparison of its own.
bool SameMetrics(const std::vector<SparkplugMetric>& read, const std::vector<SparkplugMetric>& written)
{
    const auto fields = [](const SparkplugMetric& metric) {
        return std::tie(metric.name, metric.alias, metric.timestamp, metric.datatype, metric.isHistorical,
            metric.isNull, metric.value, metric.singlePrecision);
    };
    return std::ranges::equal(
        read, written, [&](const auto& one, const auto& other) { return fields(one) == fields(other); });
}

TEST(SparkplugPayloadTest, WrittenPayloadsReadBackUnchanged)
{
    const SparkplugPayloadReading rebirth = ReadSparkplugPayload(RebirthRequestPayload(1234));
    ASSERT_TRUE(rebirth.payload) << rebirth.problem;
    EXPECT_EQ(rebirth.payload->timestamp, 1234u);
    // Metrics by name, alias, timestamp, type, historical, null, value and single precision.
    EXPECT_TRUE(SameMetrics(
        rebirth.payload->metrics, { { "Node Control/Rebirth", {}, 1234, 11, false, false, true, false } }));

    const SparkplugPayload sent { {}, 255,
        { { "Int64", {}, {}, 4, false, false, std::uint64_t { 1ULL << 40U }, false },
            { {}, 7, 5, {}, false, false, 0.25, true },
            { "Text", {}, {}, {}, true, false, std::string("Auto"), false },
            { "Null", {}, {}, {}, false, true, {}, false } } };
    const SparkplugPayloadReading back = ReadSparkplugPayload(EncodeSparkplugPayload(sent));
    ASSERT_TRUE(back.payload);
    EXPECT_EQ(back.payload->seq, 255u);
    EXPECT_TRUE(SameMetrics(back.payload->metrics, sent.metrics));

    // Each "\x12\0" is an empty metric: the count is refused before the metrics are made.
    std::string manyMetrics;
    for (std::size_t count = 0; count <= MostSparkplugMetricsPerPayload; ++count)
        manyMetrics += std::string("\x12\0", 2);
    EXPECT_EQ(ReadSparkplugPayload(manyMetrics).problem, "a payload of 50001 metrics, more than 50000");
    EXPECT_EQ(ReadSparkplugPayload(manyMetrics.substr(2)).problem, "") << "50000 metrics are taken";
    EXPECT_TRUE(ReadSparkplugPayload("").payload) << "an empty payload is a payload without metrics";
}

TEST(SparkplugStatusMappingTest, TheDefaultMappingByType)
{
    const std::tuple<Type, SparkplugMetric::Value, std::optional<std::int32_t>> cases[]
        = { { Type::Int8, 0xFFUL, -1 }, { Type::Int8, 0xFFFFFFFFUL, -1 }, { Type::Int16, 0x8000UL, -32768 },
              { Type::Int32, 0x104UL, 0x104 }, { Type::Int32, 0xFFFFFFFDUL, -3 },
              { Type::UInt8, 0x1FFUL, 0xFF }, { Type::UInt32, 0xFFFFFFFFUL, -1 }, { Type::Int64, 260UL, 260 },
              { Type::Int64, 1UL << 32U, std::nullopt }, { Type::Int64, ~0UL, -1 },
              { Type::UInt64, ~0UL, std::nullopt }, { Type::Boolean, false, 2 }, { Type::Boolean, true, 4 },
              { Type::Double, 2.0, std::nullopt }, { Type::String, std::string("2"), std::nullopt },
              { Type::DateTime, 2UL, std::nullopt }, { Type::Int32, true, std::nullopt },
              { Type::Unknown, 2UL, std::nullopt } };
    for (const auto& [type, raw, status] : cases)
        EXPECT_EQ(DefaultSparkplugStatus({ "E/m", type, TypedSparkplugValue(type, raw) }), status)
            << static_cast<int>(type) << " " << ::testing::PrintToString(raw);
}

TEST(SparkplugStatusMappingTest, RulesFromAFileComeBeforeTheDefault)
{
    const SparkplugStatusRules::Read read = SparkplugStatusRules::FromText(
        "# site rules\n*/Running | true | 0x102\r\n\n"
        "*/Level | >= 90.5 | 4\n*/Level | * | 2\n*/Mode | Auto | 2\n*/Mode | = 3 | 3\n*/Ratio | 0.1 | 5\n");
    ASSERT_TRUE(read.rules) << read.problem.toStdString();
    using namespace std::literals;
    const std::tuple<const char*, Type, SparkplugMetricValue::Value, std::optional<std::int32_t>> cases[]
        = { { "E/Running", Type::Boolean, true, 0x102 }, { "E/Running", Type::Boolean, false, 2 },
              { "E/D/Level", Type::Double, 90.5, 4 }, { "E/D/Level", Type::Double, 12.0, 2 },
              { "E/D/Level", Type::Int32, 91L, 4 },
              { "E/D/Level", Type::Double, std::monostate {}, std::nullopt },
              { "E/Mode", Type::String, "Auto"sv, 2 }, { "E/Mode", Type::String, "Manual"sv, std::nullopt },
              { "E/Mode", Type::Int32, 3L, 3 }, { "E/Ratio", Type::Float, double { 0.1F }, 5 },
              { "E/x", Type::Int32, 7L, 7 } };
    const SparkplugStatusMapper mapper = read.rules->mapper();
    for (const auto& [tag, type, value, status] : cases)
        EXPECT_EQ(mapper({ tag, type, value }), status) << tag << " " << ::testing::PrintToString(value);

    for (const auto& [text, problem] : std::initializer_list<std::pair<const char*, const char*>> {
             { "*/a | 2", "line 1: a rule is TAG PATTERN | VALUE | STATUS" },
             { "#\n | true | 2", "line 2: the tag pattern is empty" },
             { "a |  | 2", "line 1: the value test is empty" },
             { "a | true | green", "line 1: the status is not a whole number (decimal, 0x or &H hex)" } })
        EXPECT_EQ(SparkplugStatusRules::FromText(text).problem.toStdString(), problem) << text;
}

TEST(SparkplugFeedOptionsTest, GroupsFromTheAddress)
{
    const std::optional<SparkplugFeedOptions> options
        = ParseSparkplugUrl("mqtts://broker.plant/Water,Waste,Water").options;
    ASSERT_TRUE(options);
    EXPECT_EQ(std::tuple(options->groups, options->connection.port, options->connection.prefix),
        std::tuple(QStringList { "Water", "Waste" }, 8883, QString()));
    for (const char* url :
        { "mqtt://broker", "mqtt://broker/a,,b", "mqtt://broker/site/a", "mqtt://broker/a,+" })
        EXPECT_FALSE(ParseSparkplugUrl(url).options) << url;
}

} // namespace
} // namespace vestrak
