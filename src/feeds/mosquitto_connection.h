#pragma once

#include "feeds/mqtt_feed_options.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string_view>

struct mosquitto;
struct mosquitto_message;
class QSocketNotifier;

namespace vestrak {

// One subscription to a broker through libmosquitto, driven by the Qt event loop: the client's
// socket wakes it for reading and writing, a timer runs the client's housekeeping (keep-alive),
// and a lost or refused connection is tried again after a growing delay. No thread of its own.
class MosquittoConnection final : public QObject {
    Q_OBJECT
public:
    // The topic filters are subscribed to on every connection.
    MosquittoConnection(const MqttFeedOptions& options, QStringList topicFilters, QObject* parent = nullptr);
    MosquittoConnection(const MqttFeedOptions& options, const QString& topicFilter, QObject* parent = nullptr)
        : MosquittoConnection(options, QStringList { topicFilter }, parent)
    {
    }
    ~MosquittoConnection() override;

    // Starts connecting; returns at once. Failures arrive as connectionFailed; connected follows once
    // the broker grants the subscriptions.
    void open();
    [[nodiscard]] bool isConnected() const { return m_Connected; }
    // Subscribes again while connected, which makes the broker send its retained messages again.
    void subscribeAgain();
    // Sends a message at QoS 0, not retained, when connected; false when it could not be queued.
    bool publish(const QString& topic, std::string_view payload);

signals:
    void connected();
    // A connection ended, or an attempt at one failed; another attempt follows by itself.
    void connectionFailed(const QString& reason);
    void messageArrived(std::string_view topic, std::string_view payload);

private:
    static void ConnectCallback(mosquitto* client, void* self, int result);
    static void DisconnectCallback(mosquitto* client, void* self, int result);
    static void MessageCallback(mosquitto* client, void* self, const mosquitto_message* message);
    static void SubscribeCallback(
        mosquitto* client, void* self, int messageId, int grantedCount, const int* granted);
    static void LogCallback(mosquitto* client, void* self, int level, const char* message);

    enum class Attempt {
        First,
        Retry,
    };

    void setUp();
    void attempt(Attempt kind);
    void watchSocket();
    void unwatchSocket();
    void readable();
    void writable();
    void housekeeping();
    void watchWrites();
    // Every failure of a call into the client ends here: forget the socket, say why, retry later.
    // Asks for every topic filter in one request; the client library's result.
    int subscribe();
    void fail(int result);
    void failWith(const QString& reason);

    MqttFeedOptions m_Options;
    QStringList m_TopicFilters;
    mosquitto* m_Client = nullptr;
    std::unique_ptr<QSocketNotifier> m_ReadWatch;
    std::unique_ptr<QSocketNotifier> m_WriteWatch;
    QTimer m_Housekeeping;
    QTimer m_Retry;
    std::chrono::milliseconds m_RetryDelay;
    // The broker's answer to the last connection attempt, when it refused it.
    QString m_Refusal;
    // The TLS library's first error of the last connection attempt, when it logged one.
    QString m_TlsFailure;
    // Options the client could not take; no connection is tried with them.
    QString m_SetUpProblem;
    bool m_Connected = false;
    bool m_Failed = false;
    bool m_MessageRead = false;
};

} // namespace vestrak
