// plant-simulator: runs the example water works and publishes its tag statuses, retained, to an
// MQTT broker: a change at once, every tag again every few seconds for pages that watch for stale
// values. With --sparkplug GROUP it is a Sparkplug B edge node instead (sparkplug_edge_node.h).
#include "plant_scenario.h"
#include "sparkplug_edge_node.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <iostream>
#include <map>
#include <mosquitto.h>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto RepeatEvery = 10s;
constexpr auto RetryEvery = 500ms;
constexpr int KeepAliveSeconds = 10;
constexpr int LoopMilliseconds = 100;

std::atomic<bool> g_Stop = false;

struct Options {
    std::string host = "127.0.0.1";
    int port = 1883;
    std::string prefix = "plant";
    // Set: a Sparkplug B edge node of this group.
    std::string sparkplugGroup;
    std::string edgeNode = "WaterWorks";
    // 0 runs until stopped.
    int seconds = 0;
};

bool ParseNumber(const std::string& text, int& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && number >= 0;
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options)
{
    for (std::size_t index = 0; index + 1 < arguments.size(); index += 2) {
        const std::string& name = arguments[index];
        const std::string& value = arguments[index + 1];
        if (name == "--host")
            options.host = value;
        else if (name == "--prefix")
            options.prefix = value;
        else if (name == "--sparkplug")
            options.sparkplugGroup = value;
        else if (name == "--node")
            options.edgeNode = value;
        else if (!(name == "--port" && ParseNumber(value, options.port))
            && !(name == "--seconds" && ParseNumber(value, options.seconds)))
            return false;
    }
    return arguments.size() % 2 == 0;
}

std::string Hex(std::int32_t value)
{
    char digits[16] {};
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    return "0x" + std::string(digits, end);
}

bool Publish(mosquitto* client, const Options& options, const std::string& tag, std::int32_t status)
{
    const std::string topic = options.prefix.empty() ? tag : options.prefix + "/" + tag;
    const std::string payload = Hex(status);
    return mosquitto_publish(
               client, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 1, true)
        == MOSQ_ERR_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::cerr
            << "usage: plant-simulator [--host HOST] [--port PORT] [--prefix PREFIX | --sparkplug GROUP\n"
               "                      [--node EDGE_NODE]] [--seconds N]\n";
        return 2;
    }
    std::signal(SIGINT, [](int) { g_Stop = true; });
    std::signal(SIGTERM, [](int) { g_Stop = true; });
    mosquitto_lib_init();
    mosquitto* client = mosquitto_new(nullptr, true, nullptr);
    const bool sparkplug = !options.sparkplugGroup.empty();
    vestrak::SparkplugEdgeNode edgeNode(client, options.sparkplugGroup, options.edgeNode);
    mosquitto_user_data_set(client, &edgeNode);
    mosquitto_message_callback_set(client, [](mosquitto*, void* node, const mosquitto_message* message) {
        static_cast<vestrak::SparkplugEdgeNode*>(node)->take(message->topic,
            std::string_view(
                static_cast<const char*>(message->payload), static_cast<std::size_t>(message->payloadlen)));
    });
    const Clock::time_point start = Clock::now();
    const auto finished = [&] {
        return g_Stop
            || (options.seconds > 0 && Clock::now() - start >= std::chrono::seconds(options.seconds));
    };

    std::map<std::string, std::int32_t> published;
    Clock::time_point lastRepeat = start;
    bool connected = false;
    while (!finished()) {
        const int second = static_cast<int>(
            std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count());
        if (!connected) {
            if (sparkplug)
                edgeNode.prepareConnection();
            connected = mosquitto_connect(client, options.host.c_str(), options.port, KeepAliveSeconds)
                == MOSQ_ERR_SUCCESS;
            if (connected && sparkplug)
                connected = edgeNode.connected(vestrak::PlantScenario::StatusesAt(second));
            if (!connected) {
                std::this_thread::sleep_for(RetryEvery);
                continue;
            }
            published.clear();
        }
        if (sparkplug) {
            connected = edgeNode.publishChanges(vestrak::PlantScenario::StatusesAt(second))
                && mosquitto_loop(client, LoopMilliseconds, 1) == MOSQ_ERR_SUCCESS;
            continue;
        }
        const bool repeat = Clock::now() - lastRepeat >= RepeatEvery;
        if (repeat) {
            lastRepeat = Clock::now();
            published.clear();
        }
        for (const auto& [tag, status] : vestrak::PlantScenario::StatusesAt(second)) {
            const auto known = published.find(tag);
            if ((known == published.end() || known->second != status)
                && Publish(client, options, tag, status))
                published[tag] = status;
        }
        connected = mosquitto_loop(client, LoopMilliseconds, 1) == MOSQ_ERR_SUCCESS;
    }
    mosquitto_disconnect(client);
    mosquitto_destroy(client);
    mosquitto_lib_cleanup();
    return 0;
}
