#pragma once

#include "feeds/mosquitto_broker.h"
#include "feeds/wait_until.h"
#include "sparkplug_b.pb.h"

#include <QByteArray>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>

namespace vestrak::testing {

// A metric of a hand-built payload, named or by alias, with the fields set that the test sets.
class HandBuiltMetric {
    using Metric = sparkplug::Payload::Metric;

public:
    explicit HandBuiltMetric(const std::string& name) { m_Metric.set_name(name); }
    static HandBuiltMetric ByAlias(std::uint64_t alias) { return HandBuiltMetric().alias(alias); }

    HandBuiltMetric& alias(std::uint64_t value) { return set(&Metric::set_alias, value); }
    HandBuiltMetric& type(std::uint32_t value) { return set(&Metric::set_datatype, value); }
    HandBuiltMetric& intValue(std::uint32_t value) { return set(&Metric::set_int_value, value); }
    HandBuiltMetric& longValue(std::uint64_t value) { return set(&Metric::set_long_value, value); }
    HandBuiltMetric& doubleValue(double value) { return set(&Metric::set_double_value, value); }
    HandBuiltMetric& booleanValue(bool value) { return set(&Metric::set_boolean_value, value); }
    HandBuiltMetric& null() { return set(&Metric::set_is_null, true); }
    HandBuiltMetric& timestamp(std::uint64_t value) { return set(&Metric::set_timestamp, value); }
    [[nodiscard]] const Metric& encoded() const { return m_Metric; }

private:
    HandBuiltMetric() = default;
    template<typename Value> HandBuiltMetric& set(void (Metric::*setter)(Value), Value value)
    {
        (m_Metric.*setter)(value);
        return *this;
    }

    Metric m_Metric;
};

// A payload encoded from our own message definition, as an edge node of another make would send it.
inline std::string HandBuiltPayload(
    std::optional<std::uint64_t> seq, std::initializer_list<HandBuiltMetric> metrics)
{
    sparkplug::Payload payload;
    payload.set_timestamp(1700000000000);
    if (seq)
        payload.set_seq(*seq);
    for (const HandBuiltMetric& metric : metrics)
        *payload.add_metrics() = metric.encoded();
    return payload.SerializeAsString();
}

// Why the npm edge node cannot run here, or nothing when it can: its set-up (a test fixture)
// installs it into the build folder and writes down why when it cannot.
inline std::optional<std::string> EdgeNodeUnavailable()
{
    const std::filesystem::path folder = VESTRAK_SPARKPLUG_NPM;
    std::ifstream unavailable(folder / "unavailable");
    if (unavailable) {
        std::stringstream reason;
        reason << unavailable.rdbuf();
        return reason.str();
    }
    if (!std::filesystem::exists(folder / "node_modules" / "sparkplug-client"))
        return "sparkplug-client is not installed in " + folder.string()
            + "; the test fixture sparkplug_npm_install installs it";
    return std::nullopt;
}

// A Sparkplug B edge node of the sparkplug-client package, run by Node.js and driven by commands
// (see sparkplug_edge_node.js).
class EdgeNode {
public:
    static constexpr int WaitMilliseconds = 10000;

    ~EdgeNode() { kill(); }

    // Starts the node and waits for its connection.
    bool start(int port, const std::string& group, const std::string& node)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("NODE_PATH",
            QString::fromStdString((std::filesystem::path(VESTRAK_SPARKPLUG_NPM) / "node_modules").string()));
        m_Process.setProcessEnvironment(environment);
        m_Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_Process.start("node",
            { VESTRAK_SPARKPLUG_EDGE_NODE, QStringLiteral("mqtt://127.0.0.1:%1").arg(port),
                QString::fromStdString(group), QString::fromStdString(node) });
        return waitFor("connected");
    }
    // Sends one command and waits until the node has published what it asks for.
    bool send(const std::string& json)
    {
        m_Process.write(QByteArray::fromStdString(json + "\n"));
        return waitFor("done");
    }
    // Waits for the line, unless it came since the last line waited for; the event loop runs
    // meanwhile, so that a feed takes what the node publishes.
    bool waitFor(const QByteArray& line)
    {
        const auto arrived = [&] {
            while (m_Process.canReadLine())
                m_Seen.append(m_Process.readLine().trimmed());
            const qsizetype found = m_Seen.indexOf(line, m_Waited);
            if (found < 0)
                return false;
            m_Waited = found + 1;
            return true;
        };
        bool found = false;
        WaitUntil([&] { return (found = arrived()) || m_Process.state() == QProcess::NotRunning; },
            WaitMilliseconds);
        return found;
    }
    [[nodiscard]] qsizetype seen(const QByteArray& line) const { return m_Seen.count(line); }
    // Ends the process at once, as a crash would: the broker then sends the node's will.
    void kill()
    {
        if (m_Process.state() == QProcess::NotRunning)
            return;
        m_Process.kill();
        m_Process.waitForFinished(WaitMilliseconds);
    }

private:
    QProcess m_Process;
    QList<QByteArray> m_Seen;
    qsizetype m_Waited = 0;
};

} // namespace vestrak::testing
