#pragma once

#include "feeds/wait_until.h"
#include "support/temporary_folder.h"

#include <QProcess>
#include <QStandardPaths>
#include <arpa/inet.h>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace vestrak::testing {

// A free TCP port on the loopback address, as the kernel hands one out.
inline int FreeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

// Publishes to the broker on a port, with mosquitto_pub at QoS 1, so that the call returns once
// the broker has the message.
class TestPublisher {
public:
    explicit TestPublisher(int port) { m_Port = port; }

    // Retained, as a device's last word on a tag is; an empty payload removes the retained one.
    [[nodiscard]] bool publish(const std::string& topic, const std::string& bytes) const
    {
        QProcess publisher;
        publisher.start("mosquitto_pub",
            { "-h", "127.0.0.1", "-p", QString::number(m_Port), "-q", "1", "-r", "-t",
                QString::fromStdString(topic), bytes.empty() ? "-n" : "-s" });
        publisher.write(bytes.data(), static_cast<qint64>(bytes.size()));
        publisher.closeWriteChannel();
        return publisher.waitForFinished() && publisher.exitStatus() == QProcess::NormalExit
            && publisher.exitCode() == 0;
    }
    [[nodiscard]] int port() const { return m_Port; }
    [[nodiscard]] QString url(const QString& prefix) const
    {
        return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(m_Port).arg(prefix);
    }

private:
    int m_Port = 0;
};

// A private mosquitto on 127.0.0.1 and a free port that it keeps when started again, with its
// configuration in a folder of its own; the settings let anyone in unless others are given.
class MosquittoBroker : public TestPublisher {
public:
    explicit MosquittoBroker(const std::string& settings = "allow_anonymous true\n")
        : TestPublisher(FreeLoopbackPort())
    {
        std::ofstream(m_Folder.path() / "mosquitto.conf")
            << "listener " << port() << " 127.0.0.1\n"
            << settings << "persistence false\nlog_dest stderr\n"
            << (geteuid() == 0 ? "user root\n" : "");
    }
    ~MosquittoBroker() { kill(); }

    // Starts the broker and waits until it says it runs; false when it did not come up.
    bool start()
    {
        // Debian puts the broker in sbin, which an ordinary user's PATH may lack.
        const QStringList folders = qEnvironmentVariable("PATH").split(':') + QStringList { "/usr/sbin" };
        m_Process.setProcessChannelMode(QProcess::MergedChannels);
        m_Process.start(QStandardPaths::findExecutable("mosquitto", folders),
            { "-c", QString::fromStdString((m_Folder.path() / "mosquitto.conf").string()) });
        QByteArray log;
        WaitUntil([&] {
            return (log += m_Process.readAll()).contains(" running")
                || m_Process.state() == QProcess::NotRunning;
        });
        return log.contains(" running");
    }
    // Ends the broker at once, as a crash would.
    void kill()
    {
        m_Process.kill();
        m_Process.waitForFinished();
    }
    // Stops the broker without closing its connections, as a hung host would; kill() still ends it.
    void freeze() const { ::kill(static_cast<pid_t>(m_Process.processId()), SIGSTOP); }

private:
    TemporaryFolder m_Folder;
    QProcess m_Process;
};

} // namespace vestrak::testing
