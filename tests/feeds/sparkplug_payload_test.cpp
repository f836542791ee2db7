#include "feeds/sparkplug_feed_options.h"
#include "feeds/sparkplug_payload.h"
#include "feeds/sparkplug_status_mapping.h"
#include "feeds/sparkplug_topic.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

using Kind = SparkplugTopic::Kind;
using Type = SparkplugDataType;

TEST(SparkplugTopicTest, TopicsOutsideTheNamespaceAreRefused)
{
    const struct {
        const char* topic;
        std::optional<Kind> kind;
        const char* node;
        const char* device;
    } cases[] = {
        { "spBv1.0/plant/NBIRTH/edge 1", Kind::NodeBirth, "edge 1", "" },
        { "spBv1.0/plant/DDATA/edge 1/pump ü", Kind::DeviceData, "edge 1", "pump ü" },
        { "spBv1.0/plant/NDEATH/e", Kind::NodeDeath, "e", "" },
        { "spBv1.0/plant/NCMD/e", Kind::NodeCommand, "e", "" },
        { "spBv1.0/plant/DDEATH/e/d", Kind::DeviceDeath, "e", "d" },
        { "spBv1.0/plant/NDATA/e/d", std::nullopt, "e", "" },
        { "spBv1.0/plant/DDATA/e", std::nullopt, "e", "" },
        { "spBv1.0/plant/DDATA/e/", std::nullopt, "e", "" },
        { "spBv1.0/plant/BIRTH/e", std::nullopt, "e", "" },
        { "spBv1.0/plant/DDATA/e/d/x", std::nullopt, "", "" },
        { "spBv1.0/plant/NDATA/", std::nullopt, "", "" },
        { "spBv1.0/plant/NDATA", std::nullopt, "", "" },
        { "spBv1.0//NDATA/e", std::nullopt, "", "" },
        { "spAv1.0/plant/NDATA/e", std::nullopt, "", "" },
        { "", std::nullopt, "", "" },
    };
    for (const auto& expected : cases) {
        const SparkplugTopicReading reading = ReadSparkplugTopic(expected.topic);
        EXPECT_EQ(reading.topic.has_value(), expected.kind.has_value()) << expected.topic;
        EXPECT_EQ(reading.node, expected.node) << expected.topic;
        if (!reading.topic || !expected.kind)
            continue;
        EXPECT_EQ(reading.topic->kind, *expected.kind) << expected.topic;
        EXPECT_EQ(reading.topic->group, "plant");
        EXPECT_EQ(reading.topic->device, expected.device) << expected.topic;
    }
}

TEST(SparkplugPayloadTest, WrittenPayloadsReadBackUnchanged)
{
    const SparkplugPayloadReading rebirth = ReadSparkplugPayload(RebirthRequestPayload(1234));
    ASSERT_TRUE(rebirth.payload) << rebirth.problem;
    ASSERT_EQ(rebirth.payload->metrics.size(), 1u);
    EXPECT_EQ(rebirth.payload->timestamp, 1234u);
    EXPECT_EQ(rebirth.payload->metrics[0].name, "Node Control/Rebirth");
    EXPECT_EQ(rebirth.payload->metrics[0].datatype, 11u);
    EXPECT_EQ(rebirth.payload->metrics[0].value, SparkplugMetric::Value(true));

    SparkplugPayload sent { .seq = 255,
        .metrics = {
            { .name = "Int64", .datatype = 4, .value = std::uint64_t { 1ULL << 40U } },
            { .alias = 7, .value = 0.25, .singlePrecision = true },
            { .name = "Text", .isHistorical = true, .value = std::string("Auto") },
            { .name = "Null", .isNull = true },
        } };
    const SparkplugPayloadReading back = ReadSparkplugPayload(EncodeSparkplugPayload(sent));
    ASSERT_TRUE(back.payload);
    EXPECT_EQ(back.payload->seq, 255u);
    ASSERT_EQ(back.payload->metrics.size(), 4u);
    for (std::size_t index = 0; index < 4; ++index) {
        const SparkplugMetric& metric = back.payload->metrics[index];
        EXPECT_EQ(metric.name, sent.metrics[index].name) << index;
        EXPECT_EQ(metric.alias, sent.metrics[index].alias) << index;
        EXPECT_EQ(metric.value, sent.metrics[index].value) << index;
        EXPECT_EQ(metric.singlePrecision, sent.metrics[index].singlePrecision) << index;
        EXPECT_EQ(metric.isHistorical, sent.metrics[index].isHistorical) << index;
        EXPECT_EQ(metric.isNull, sent.metrics[index].isNull) << index;
    }

    const std::string whole = RebirthRequestPayload(1234);
    EXPECT_EQ(ReadSparkplugPayload(whole.substr(0, whole.size() - 3)).problem,
        "a payload that is not a Sparkplug B message");
    EXPECT_EQ(ReadSparkplugPayload(std::string(MostSparkplugPayloadBytes + 1, '\0')).problem,
        "a payload of 4194305 bytes, more than 4194304");
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
    const QString tag = "E/m";
    const struct {
        Type type;
        SparkplugMetric::Value raw;
        std::optional<std::int32_t> status;
    } cases[] = {
        { Type::Int8, std::uint64_t { 0xFF }, -1 },
        { Type::Int8, std::uint64_t { 0xFFFFFFFF }, -1 },
        { Type::Int16, std::uint64_t { 0x8000 }, -32768 },
        { Type::Int32, std::uint64_t { 0x104 }, 0x104 },
        { Type::Int32, std::uint64_t { 0xFFFFFFFD }, -3 },
        { Type::UInt8, std::uint64_t { 0x1FF }, 0xFF },
        { Type::UInt32, std::uint64_t { 0xFFFFFFFF }, -1 },
        { Type::Int64, std::uint64_t { 260 }, 260 },
        { Type::Int64, std::uint64_t { 1ULL << 32U }, std::nullopt },
        { Type::Int64, ~std::uint64_t { 0 }, -1 },
        { Type::UInt64, ~std::uint64_t { 0 }, std::nullopt },
        { Type::Boolean, false, 2 },
        { Type::Boolean, true, 4 },
        { Type::Double, 2.0, std::nullopt },
        { Type::String, std::string("2"), std::nullopt },
        { Type::DateTime, std::uint64_t { 2 }, std::nullopt },
        { Type::Int32, true, std::nullopt },
        { Type::Unknown, std::uint64_t { 2 }, std::nullopt },
    };
    for (const auto& expected : cases) {
        EXPECT_EQ(
            DefaultSparkplugStatus({ tag, expected.type, TypedSparkplugValue(expected.type, expected.raw) }),
            expected.status)
            << static_cast<int>(expected.type);
    }
}

TEST(SparkplugStatusMappingTest, RulesFromAFileComeBeforeTheDefault)
{
    const SparkplugStatusRules::Read read = SparkplugStatusRules::FromText("# site rules\n"
                                                                           "*/Running | true | 0x102\r\n"
                                                                           "\n"
                                                                           "*/Level | >= 90.5 | 4\n"
                                                                           "*/Level | * | 2\n"
                                                                           "*/Mode | Auto | 2\n"
                                                                           "*/Mode | = 3 | 3\n"
                                                                           "*/Ratio | 0.1 | 5\n");
    ASSERT_TRUE(read.rules) << read.problem.toStdString();
    const QString running = "E/Running", level = "E/D/Level", mode = "E/Mode", ratio = "E/Ratio",
                  other = "E/x";
    const std::string_view autoText = "Auto", manualText = "Manual";
    const struct {
        const QString& tag;
        Type type;
        SparkplugMetricValue::Value value;
        std::optional<std::int32_t> status;
    } cases[] = {
        { running, Type::Boolean, true, 0x102 },
        { running, Type::Boolean, false, 2 },
        { level, Type::Double, 90.5, 4 },
        { level, Type::Double, 12.0, 2 },
        { level, Type::Int32, std::int64_t { 91 }, 4 },
        { level, Type::Double, std::monostate {}, std::nullopt },
        { mode, Type::String, autoText, 2 },
        { mode, Type::String, manualText, std::nullopt },
        { mode, Type::Int32, std::int64_t { 3 }, 3 },
        { ratio, Type::Float, double { 0.1F }, 5 },
        { other, Type::Int32, std::int64_t { 7 }, 7 },
    };
    const SparkplugStatusMapper mapper = read.rules->mapper();
    for (const auto& expected : cases)
        EXPECT_EQ(mapper({ expected.tag, expected.type, expected.value }), expected.status)
            << expected.tag.toStdString();

    for (const auto& [text, problem] : std::initializer_list<std::pair<const char*, const char*>> {
             { "*/a | 2", "line 1: a rule is TAG PATTERN | VALUE | STATUS" },
             { "#\n | true | 2", "line 2: the tag pattern is empty" },
             { "a |  | 2", "line 1: the value test is empty" },
             { "a | true | green", "line 1: the status is not a whole number (decimal, 0x or &H hex)" } })
        EXPECT_EQ(SparkplugStatusRules::FromText(text).problem.toStdString(), problem) << text;
}

TEST(SparkplugFeedOptionsTest, GroupsFromTheAddress)
{
    const ParsedSparkplugUrl parsed = ParseSparkplugUrl("mqtts://broker.plant/Water,Waste,Water");
    ASSERT_TRUE(parsed.options) << parsed.problem.toStdString();
    EXPECT_EQ(parsed.options->groups, QStringList({ "Water", "Waste" }));
    EXPECT_EQ(parsed.options->connection.port, 8883);
    EXPECT_TRUE(parsed.options->connection.prefix.isEmpty());
    for (const char* url :
        { "mqtt://broker", "mqtt://broker/a,,b", "mqtt://broker/site/a", "mqtt://broker/a,+" })
        EXPECT_FALSE(ParseSparkplugUrl(url).options) << url;
}

} // namespace
} // namespace vestrak
