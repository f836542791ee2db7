#include "feeds/mqtt_feed_options.h"
#include "feeds/status_payload.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

using Kind = StatusReading::Kind;

TEST(StatusPayloadTest, ValuesAreReadFromTextOrJson)
{
    const std::pair<const char*, std::optional<std::int32_t>> payloads[]
        = { { "2", 2 }, { " \t260\r\n", 260 }, { "-5", -5 }, { "+4", 4 }, { "0x104", 0x104 },
              { "&H1002", 0x1002 }, { "&hff", 255 }, { "0xFFFFFFFF", -1 }, { "0x0000000104", 0x104 },
              { R"({"value": 3, "source": "plc 1"})", 3 }, { R"( {"value":-2147483648} )", -2147483647 - 1 },
              { " ", {} }, { "two", {} }, { "2x", {} }, { "2 3", {} }, { "1.5", {} }, { "0x", {} },
              { "0x1FFFFFFFF", {} }, { "&H-1", {} }, { "0x+1", {} }, { "2147483648", {} }, { "++1", {} },
              { "+-4", {} }, { "{}", {} }, { R"({"value":"2"})", {} }, { R"({"value":2.5})", {} },
              { R"({"value":3e10})", {} }, { R"({"value":2)", {} }, { "[2]", {} } };
    for (const auto& [payload, value] : payloads) {
        const StatusReading reading = ReadStatusPayload(payload);
        EXPECT_EQ(reading.kind, value ? Kind::Value : Kind::Malformed) << payload;
        EXPECT_EQ(reading.value, value.value_or(reading.value)) << payload;
    }
    EXPECT_EQ(ReadStatusPayload("").kind, Kind::Withdrawn);
}

TEST(FeedUrlTest, AddressesAreReadWithTheirMistakesNamed)
{
    const auto read = [](const char* url) {
        const MqttFeedOptions options = ParseFeedUrl(url).options.value_or(MqttFeedOptions {});
        return std::tuple(
            options.host.toStdString(), options.port, options.prefix.toStdString(), options.transport);
    };
    EXPECT_EQ(read("mqtt://broker.plant:1884/site/water%20works/"),
        std::tuple("broker.plant", 1884, "site/water works", MqttFeedOptions::Transport::Plain));
    EXPECT_EQ(read("mqtts://10.0.0.5"), std::tuple("10.0.0.5", 8883, "", MqttFeedOptions::Transport::Tls));
    EXPECT_EQ(read("mqtt://127.0.0.1/plant"),
        std::tuple("127.0.0.1", 1883, "plant", MqttFeedOptions::Transport::Plain));

    EXPECT_EQ(ParseFeedUrl("http://host/x").problem, "http://host/x is not an mqtt:// or mqtts:// address");
    EXPECT_EQ(ParseFeedUrl("mqtt:///x").problem, "mqtt:///x names no broker host");
    EXPECT_EQ(ParseFeedUrl("mqtt://h/a/+/b").problem, "mqtt://h/a/+/b: the topic prefix may not hold + or #");
    EXPECT_FALSE(ParseFeedUrl("mqtt://h/a#").options);
    EXPECT_FALSE(ParseFeedUrl("mqtt://user:secret@h/a").options);
}

} // namespace
} // namespace vestrak
