#pragma once

#include "support/temporary_folder.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <arpa/inet.h>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace vestrak::testing {

constexpr int BrokerWaitMilliseconds = 10000;

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

// A private mosquitto on 127.0.0.1 and a free port, with its configuration in a folder of its own.
// It keeps its port when it is started again.
class MosquittoBroker {
public:
    // The access lines let anyone in unless others are given.
    explicit MosquittoBroker(const std::string& accessLines = "allow_anonymous true\n")
    {
        std::ofstream(m_Folder.path() / "mosquitto.conf")
            << "listener " << m_Port << " 127.0.0.1\n"
            << accessLines << "persistence false\nlog_dest stderr\n"
            << (geteuid() == 0 ? "user root\n" : "");
    }
    ~MosquittoBroker() { kill(); }
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // Starts the broker and waits until it says it runs; false when it did not come up.
    bool start()
    {
        m_Log.clear();
        m_Process.setProcessChannelMode(QProcess::MergedChannels);
        m_Process.start(Program(),
            { QStringLiteral("-c"), QString::fromStdString((m_Folder.path() / "mosquitto.conf").string()) });
        const QDeadlineTimer deadline(BrokerWaitMilliseconds);
        while (!m_Log.contains(" running") && m_Process.state() != QProcess::NotRunning
            && !deadline.hasExpired()) {
            m_Process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
            m_Log += m_Process.readAll();
        }
        return m_Log.contains(" running");
    }
    // Ends the broker at once, as a crash would.
    void kill()
    {
        if (m_Process.state() == QProcess::NotRunning)
            return;
        m_Process.kill();
        m_Process.waitForFinished(BrokerWaitMilliseconds);
    }

    // Stops the broker without closing its connections, as a hung host would; kill() still ends it.
    void freeze() const { ::kill(static_cast<pid_t>(m_Process.processId()), SIGSTOP); }

    [[nodiscard]] int port() const { return m_Port; }
    [[nodiscard]] QString url(const QString& prefix) const
    {
        return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(m_Port).arg(prefix);
    }

private:
    // Debian puts the broker in sbin, which an ordinary user's PATH may lack.
    static QString Program()
    {
        const QString inPath = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
        if (!inPath.isEmpty())
            return inPath;
        return QStandardPaths::findExecutable(
            QStringLiteral("mosquitto"), { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin") });
    }

    TemporaryFolder m_Folder;
    int m_Port = FreeLoopbackPort();
    QProcess m_Process;
    QByteArray m_Log;
};

// Publishes the bytes with mosquitto_pub at QoS 1, so that the call returns once the broker has
// them; retained when asked, as a device's last word on a tag is. An empty payload retained removes
// the retained one.
inline bool PublishBytes(int port, const std::string& topic, const std::string& bytes, bool retained = false)
{
    QTemporaryFile file;
    if (!file.open() || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0 || !file.flush())
        return false;
    QStringList arguments { "-h", "127.0.0.1", "-p", QString::number(port), "-q", "1", "-t",
        QString::fromStdString(topic) };
    arguments += bytes.empty() ? QStringList { "-n" } : QStringList { "-f", file.fileName() };
    if (retained)
        arguments.append("-r");
    return QProcess::execute(QStringLiteral("mosquitto_pub"), arguments) == 0;
}

// Publishes retained text payloads to one broker.
class TestPublisher {
public:
    explicit TestPublisher(int port)
        : m_Port(port)
    {
    }
    [[nodiscard]] bool publish(const std::string& topic, const std::string& payload) const
    {
        return PublishBytes(m_Port, topic, payload, true);
    }

private:
    int m_Port = 0;
};

} // namespace vestrak::testing
