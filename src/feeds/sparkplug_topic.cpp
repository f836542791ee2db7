#include "feeds/sparkplug_topic.h"

#include <array>
#include <utility>

namespace vestrak {

namespace {

constexpr std::string_view Namespace = "spBv1.0";
constexpr std::size_t MostLevels = 5;

constexpr std::array<std::pair<std::string_view, SparkplugTopic::Kind>, 8> MessageTypes { {
    { "NBIRTH", SparkplugTopic::Kind::NodeBirth },
    { "NDATA", SparkplugTopic::Kind::NodeData },
    { "NDEATH", SparkplugTopic::Kind::NodeDeath },
    { "NCMD", SparkplugTopic::Kind::NodeCommand },
    { "DBIRTH", SparkplugTopic::Kind::DeviceBirth },
    { "DDATA", SparkplugTopic::Kind::DeviceData },
    { "DDEATH", SparkplugTopic::Kind::DeviceDeath },
    { "DCMD", SparkplugTopic::Kind::DeviceCommand },
} };

bool IsDeviceKind(SparkplugTopic::Kind kind)
{
    return kind >= SparkplugTopic::Kind::DeviceBirth;
}

} // namespace

SparkplugTopicReading ReadSparkplugTopic(std::string_view topic)
{
    std::array<std::string_view, MostLevels> levels;
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = topic.find('/', start);
        if (count == MostLevels)
            return {};
        levels[count++] = topic.substr(start, end == std::string_view::npos ? end : end - start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (count < 4 || levels[0] != Namespace || levels[1].empty() || levels[3].empty())
        return {};
    SparkplugTopicReading reading { std::nullopt, levels[1], levels[3] };
    for (const auto& [name, kind] : MessageTypes) {
        if (levels[2] != name)
            continue;
        const std::size_t wanted = IsDeviceKind(kind) ? 5 : 4;
        if (count == wanted && (wanted == 4 || !levels[4].empty()))
            reading.topic = SparkplugTopic { levels[1], kind, levels[3], wanted == 5 ? levels[4] : "" };
    }
    return reading;
}

} // namespace vestrak
