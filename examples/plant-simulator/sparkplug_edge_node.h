#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct mosquitto;

namespace vestrak {

// The example plant as one Sparkplug B edge node: every tag is an Int32 metric of the node, born
// with an alias and sent by alias when it changes. The node's will is its death certificate; a
// host's rebirth command brings its birth again.
class SparkplugEdgeNode {
public:
    using Statuses = std::vector<std::pair<std::string, std::int32_t>>;

    SparkplugEdgeNode(mosquitto* client, std::string group, std::string node);

    // Before each connection: a new session's bdSeq, and the death that names it as the will.
    void prepareConnection();
    // After a connection: the subscription to the node's commands and the birth.
    bool connected(const Statuses& statuses);
    // Sends the statuses that changed since the last message.
    bool publishChanges(const Statuses& statuses);
    // A message from the broker: a rebirth command makes the node publish its birth again.
    void take(std::string_view topic, std::string_view payload);

private:
    bool birth();
    bool publish(const std::string& kind, std::string payload);
    std::uint64_t nextSequence();

    mosquitto* m_Client = nullptr;
    std::string m_Group;
    std::string m_Node;
    // Every tag in the order of its first birth, by alias (its place, from 1).
    std::map<std::string, std::uint64_t> m_Aliases;
    std::map<std::string, std::int32_t> m_Published;
    Statuses m_Current;
    std::uint64_t m_BirthDeathSequence = 0;
    std::uint64_t m_Sequence = 0;
    bool m_BirthWanted = false;
};

} // namespace vestrak
