#pragma once

#include <optional>
#include <string_view>

namespace vestrak {

// A topic of the Sparkplug B namespace: spBv1.0/GROUP/MESSAGE_TYPE/EDGE_NODE[/DEVICE].
struct SparkplugTopic {
    enum class Kind {
        NodeBirth,
        NodeData,
        NodeDeath,
        NodeCommand,
        DeviceBirth,
        DeviceData,
        DeviceDeath,
        DeviceCommand,
    };

    std::string_view group;
    Kind kind = Kind::NodeData;
    std::string_view node;
    // Empty for the node's own messages.
    std::string_view device;
};

struct SparkplugTopicReading {
    std::optional<SparkplugTopic> topic;
    // Set when the topic names a group and an edge node but is not a message of theirs (an
    // unknown message type, a device missing or one level too many), so that the problem can be
    // put down to the node.
    std::string_view group;
    std::string_view node;
};

// Views into the topic given; nothing for a topic outside the namespace.
SparkplugTopicReading ReadSparkplugTopic(std::string_view topic);

} // namespace vestrak
