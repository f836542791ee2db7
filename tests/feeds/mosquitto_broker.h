#pragma once

#include "support/temporary_folder.h"

#include <QDeadlineTimer>
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

// Publishes the bytes retained, as a device's last word on a tag is, with mosquitto_pub at QoS 1, so
// that the call returns once the broker has them. An empty payload removes the retained one.
inline bool PublishBytes(int port, const std::string& topic, const std::string& bytes)
{
    QProcess publisher;
    publisher.start("mosquitto_pub",
        { "-h", "127.0.0.1", "-p", QString::number(port), "-q", "1", "-r", "-t",
            QString::fromStdString(topic), bytes.empty() ? "-n" : "-s" });
    publisher.write(bytes.data(), static_cast<qint64>(bytes.size()));
    publisher.closeWriteChannel();
    return publisher.waitForFinished() && publisher.exitStatus() == QProcess::NormalExit
        && publisher.exitCode() == 0;
}

// A private mosquitto on 127.0.0.1 and a free port that it keeps when started again, with its
// configuration in a folder of its own; the settings let anyone in unless others are given.
class MosquittoBroker {
public:
    explicit MosquittoBroker(const std::string& settings = "allow_anonymous true\n")
    {
        std::ofstream(m_Folder.path() / "mosquitto.conf")
            << "listener " << m_Port << " 127.0.0.1\n"
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
        const QDeadlineTimer deadline(10000);
        while (!log.contains(" running") && m_Process.state() != QProcess::NotRunning
            && !deadline.hasExpired()) {
            m_Process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
            log += m_Process.readAll();
        }
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

    [[nodiscard]] bool publish(const std::string& topic, const std::string& bytes) const
    {
        return PublishBytes(m_Port, topic, bytes);
    }
    [[nodiscard]] int port() const { return m_Port; }
    [[nodiscard]] QString url(const QString& prefix) const
    {
        return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(m_Port).arg(prefix);
    }

private:
    TemporaryFolder m_Folder;
    int m_Port = FreeLoopbackPort();
    QProcess m_Process;
};

// Publishes retained text payloads to one broker.
class TestPublisher {
public:
    explicit TestPublisher(int port)
        : m_Port(port)
    {
    }
    [[nodiscard]] bool publish(const std::string& topic, const std::string& payload) const
    {
        return PublishBytes(m_Port, topic, payload);
    }

private:
    int m_Port = 0;
};

} // namespace vestrak::testing
