#pragma once

#include "feeds/wait_until.h"
#include "sparkplug_b.pb.h"

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace vestrak::testing {

// A payload encoded from our own message definition, as an edge node of another make would send
// it, written in the protocol buffers' text format; stamped 1700000000000 unless it says otherwise.
inline std::string HandBuiltPayload(const std::string& text)
{
    sparkplug::Payload payload;
    payload.set_timestamp(1700000000000);
    EXPECT_TRUE(google::protobuf::TextFormat::MergeFromString(text, &payload)) << text;
    return payload.SerializeAsString();
}

// Why the npm edge node cannot run here, as the test fixture sparkplug_npm_install that installs it
// wrote down; empty when it can.
inline std::string EdgeNodeUnavailable()
{
    std::stringstream reason;
    reason << std::ifstream(VESTRAK_SPARKPLUG_NPM "/unavailable").rdbuf();
    if (reason.str().empty()
        && !std::filesystem::exists(VESTRAK_SPARKPLUG_NPM "/node_modules/sparkplug-client"))
        return "sparkplug-client is not installed in " VESTRAK_SPARKPLUG_NPM;
    return reason.str();
}

// A Sparkplug B edge node of the sparkplug-client package, run by Node.js and driven by the
// commands that sparkplug_edge_node.js takes.
class EdgeNode {
public:
    ~EdgeNode() { kill(); }

    // Starts the node and waits for its connection.
    bool start(int port, const QString& group, const QString& node)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("NODE_PATH", VESTRAK_SPARKPLUG_NPM "/node_modules");
        m_Process.setProcessEnvironment(environment);
        m_Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_Process.start("node",
            { VESTRAK_SPARKPLUG_EDGE_NODE, QStringLiteral("mqtt://127.0.0.1:%1").arg(port), group, node });
        return waitFor("connected");
    }
    // Sends one command and waits until the node has published what it asks for.
    bool send(const std::string& json)
    {
        m_Process.write(QByteArray::fromStdString(json + "\n"));
        return waitFor("done");
    }
    // Waits for the line, reading past the lines before it; the event loop runs meanwhile, so that a
    // feed takes what the node publishes.
    bool waitFor(const QByteArray& line)
    {
        bool found = false;
        WaitUntil([&] {
            while (!found && m_Process.canReadLine())
                found = m_Process.readLine().trimmed() == line;
            return found || m_Process.state() == QProcess::NotRunning;
        });
        return found;
    }
    // Ends the process at once, as a crash would: the broker then sends the node's will.
    void kill()
    {
        m_Process.kill();
        m_Process.waitForFinished();
    }

private:
    QProcess m_Process;
};

} // namespace vestrak::testing
