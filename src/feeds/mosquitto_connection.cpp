#include "feeds/mosquitto_connection.h"

#include "feeds/mosquitto_reasons.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mosquitto.h>
#include <mutex>
#include <vector>

namespace vestrak {

namespace {

constexpr std::chrono::milliseconds HousekeepingPeriod { 1000 };
// Bounds the work done per wake-up of the socket, so a flood of messages cannot hold the UI.
constexpr int MostMessagesPerWake = 200;

void InitialiseLibraryOnce()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mosquitto_lib_init(); });
}

// The client's messages end in a full stop; ours go on after them.
QString WithoutFullStop(const char* message)
{
    QString text = QString::fromUtf8(message);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// Why a call into the client failed; errno is read at once, before anything else can change it.
QString ReasonOf(int result)
{
    return ReasonOfClientResult(result, errno);
}

// The broker's answer to a subscription that it refuses (MQTT 3.1.1 SUBACK).
constexpr int SubscriptionRefused = 0x80;

const char* DataOrNull(const QByteArray& bytes)
{
    return bytes.isEmpty() ? nullptr : bytes.constData();
}

// A socket watcher may be the sender of the signal being handled when the socket goes away.
void DisposeOf(std::unique_ptr<QSocketNotifier>& watch)
{
    if (!watch)
        return;
    watch->setEnabled(false);
    watch.release()->deleteLater();
}

} // namespace

MosquittoConnection::MosquittoConnection(
    const MqttFeedOptions& options, QStringList topicFilters, QObject* parent)
    : QObject(parent)
    , m_Options(options)
    , m_TopicFilters(std::move(topicFilters))
    , m_RetryDelay(options.firstRetryDelay)
{
    InitialiseLibraryOnce();
    m_Housekeeping.setInterval(HousekeepingPeriod);
    connect(&m_Housekeeping, &QTimer::timeout, this, &MosquittoConnection::housekeeping);
    m_Retry.setSingleShot(true);
    connect(&m_Retry, &QTimer::timeout, this, [this] { attempt(Attempt::Retry); });
}

MosquittoConnection::~MosquittoConnection()
{
    unwatchSocket();
    if (m_Client) {
        // Leaving politely raises no more callbacks into a connection that is going away.
        mosquitto_connect_callback_set(m_Client, nullptr);
        mosquitto_disconnect_callback_set(m_Client, nullptr);
        mosquitto_message_callback_set(m_Client, nullptr);
        mosquitto_subscribe_callback_set(m_Client, nullptr);
        mosquitto_log_callback_set(m_Client, nullptr);
        mosquitto_disconnect(m_Client);
        mosquitto_destroy(m_Client);
    }
}

void MosquittoConnection::open()
{
    if (m_Client)
        return;
    m_Client = mosquitto_new(nullptr, true, this);
    if (!m_Client) {
        failWith(QStringLiteral("cannot create an MQTT client: %1").arg(ReasonOf(MOSQ_ERR_ERRNO)));
        return;
    }
    setUp();
    attempt(Attempt::First);
}

void MosquittoConnection::setUp()
{
    mosquitto_int_option(m_Client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_Client, ConnectCallback);
    mosquitto_disconnect_callback_set(m_Client, DisconnectCallback);
    mosquitto_message_callback_set(m_Client, MessageCallback);
    mosquitto_subscribe_callback_set(m_Client, SubscribeCallback);
    mosquitto_log_callback_set(m_Client, LogCallback);
    if (!m_Options.user.isEmpty()) {
        const QByteArray user = m_Options.user.toUtf8();
        const QByteArray password = m_Options.password.toUtf8();
        mosquitto_username_pw_set(m_Client, user.constData(), DataOrNull(password));
    }
    if (m_Options.transport != MqttFeedOptions::Transport::Tls)
        return;
    const QByteArray caFile = m_Options.caFile.toUtf8();
    const QByteArray certificateFile = m_Options.certificateFile.toUtf8();
    const QByteArray keyFile = m_Options.keyFile.toUtf8();
    mosquitto_int_option(m_Client, MOSQ_OPT_TLS_USE_OS_CERTS, caFile.isEmpty() ? 1 : 0);
    if (caFile.isEmpty() && certificateFile.isEmpty())
        return;
    const int result = mosquitto_tls_set(
        m_Client, DataOrNull(caFile), nullptr, DataOrNull(certificateFile), DataOrNull(keyFile), nullptr);
    if (result != MOSQ_ERR_SUCCESS)
        m_SetUpProblem = QStringLiteral("the TLS files cannot be used: %1").arg(ReasonOf(result));
}

// Starts a connection without waiting for it.
void MosquittoConnection::attempt(Attempt kind)
{
    if (!m_SetUpProblem.isEmpty()) {
        failWith(m_SetUpProblem);
        return;
    }
    m_Failed = false;
    m_Refusal.clear();
    m_TlsFailure.clear();
    const int result = kind == Attempt::First ? mosquitto_connect_async(m_Client,
                           m_Options.host.toUtf8().constData(), m_Options.port, m_Options.keepAliveSeconds)
                                              : mosquitto_reconnect_async(m_Client);
    if (result != MOSQ_ERR_SUCCESS) {
        fail(result);
        return;
    }
    watchSocket();
}

void MosquittoConnection::subscribeAgain()
{
    if (!m_Connected)
        return;
    const int result = subscribe();
    if (result != MOSQ_ERR_SUCCESS) {
        fail(result);
        return;
    }
    watchWrites();
}

void MosquittoConnection::watchSocket()
{
    unwatchSocket();
    const int socket = mosquitto_socket(m_Client);
    if (socket < 0) {
        failWith(QStringLiteral("the connection closed at once"));
        return;
    }
    m_ReadWatch = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    connect(m_ReadWatch.get(), &QSocketNotifier::activated, this, &MosquittoConnection::readable);
    m_WriteWatch = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(m_WriteWatch.get(), &QSocketNotifier::activated, this, &MosquittoConnection::writable);
    watchWrites();
    m_Housekeeping.start();
}

void MosquittoConnection::unwatchSocket()
{
    m_Housekeeping.stop();
    DisposeOf(m_ReadWatch);
    DisposeOf(m_WriteWatch);
}

void MosquittoConnection::readable()
{
    for (int count = 0; count < MostMessagesPerWake; ++count) {
        m_MessageRead = false;
        const int result = mosquitto_loop_read(m_Client, 1);
        if (result != MOSQ_ERR_SUCCESS) {
            fail(result);
            return;
        }
        if (m_Failed || !m_MessageRead)
            break;
    }
    watchWrites();
}

void MosquittoConnection::writable()
{
    const int result = mosquitto_loop_write(m_Client, 1);
    if (result != MOSQ_ERR_SUCCESS) {
        fail(result);
        return;
    }
    watchWrites();
}

void MosquittoConnection::housekeeping()
{
    const int result = mosquitto_loop_misc(m_Client);
    if (result != MOSQ_ERR_SUCCESS) {
        fail(result);
        return;
    }
    watchWrites();
}

bool MosquittoConnection::publish(const QString& topic, std::string_view payload)
{
    if (!m_Connected)
        return false;
    const int result = mosquitto_publish(m_Client, nullptr, topic.toUtf8().constData(),
        static_cast<int>(payload.size()), payload.data(), 0, false);
    watchWrites();
    return result == MOSQ_ERR_SUCCESS;
}

void MosquittoConnection::watchWrites()
{
    if (m_WriteWatch)
        m_WriteWatch->setEnabled(mosquitto_want_write(m_Client));
}

void MosquittoConnection::fail(int result)
{
    const int errorNumber = errno;
    // The client library gives EPROTO for a TLS session that the broker broke off while the
    // connection was being made, before the TLS library said why.
    const bool tlsBrokenOff = m_Options.transport == MqttFeedOptions::Transport::Tls && !m_Connected
        && result == MOSQ_ERR_ERRNO && errorNumber == EPROTO;
    if (!m_Refusal.isEmpty())
        failWith(m_Refusal);
    else if (!m_TlsFailure.isEmpty() || tlsBrokenOff)
        failWith(ReasonOfTlsFailure(m_TlsFailure));
    else
        failWith(ReasonOfClientResult(result, errorNumber));
}

void MosquittoConnection::failWith(const QString& reason)
{
    if (m_Failed)
        return;
    m_Failed = true;
    m_Connected = false;
    unwatchSocket();
    // Nothing changes files that could not be used, so only a connection is worth another try.
    if (m_Client && m_SetUpProblem.isEmpty())
        m_Retry.start(m_RetryDelay);
    m_RetryDelay = std::min(m_RetryDelay * 2, m_Options.longestRetryDelay);
    emit connectionFailed(reason);
}

void MosquittoConnection::ConnectCallback(mosquitto* /*client*/, void* self, int result)
{
    auto& connection = *static_cast<MosquittoConnection*>(self);
    if (result != 0) {
        connection.m_Refusal = QStringLiteral("the broker refused the connection: %1")
                                   .arg(WithoutFullStop(mosquitto_connack_string(result)));
        return;
    }
    const int subscribed = connection.subscribe();
    if (subscribed != MOSQ_ERR_SUCCESS)
        connection.fail(subscribed);
}

int MosquittoConnection::subscribe()
{
    std::vector<QByteArray> filters;
    std::vector<char*> filterTexts;
    for (const QString& filter : std::as_const(m_TopicFilters))
        filters.push_back(filter.toUtf8());
    filterTexts.reserve(filters.size());
    for (QByteArray& filter : filters)
        filterTexts.push_back(filter.data());
    return mosquitto_subscribe_multiple(
        m_Client, nullptr, static_cast<int>(filterTexts.size()), filterTexts.data(), 0, 0, nullptr);
}

// The connection counts as made once the broker grants the subscriptions: before, no value can come.
void MosquittoConnection::SubscribeCallback(mosquitto*, void* self, int, int grantedCount, const int* granted)
{
    auto& connection = *static_cast<MosquittoConnection*>(self);
    const bool refused
        = std::any_of(granted, granted + grantedCount, [](int qos) { return qos == SubscriptionRefused; });
    if (grantedCount != connection.m_TopicFilters.size() || refused) {
        connection.failWith(
            QStringLiteral("the broker refuses the subscription to %1: the user may not read those topics")
                .arg(connection.m_TopicFilters.join(QStringLiteral(", "))));
        return;
    }
    // A subscription made again on the same connection brings retained messages, not a new connection.
    if (connection.m_Connected)
        return;
    connection.m_Connected = true;
    connection.m_RetryDelay = connection.m_Options.firstRetryDelay;
    emit connection.connected();
}

// The client library logs the TLS library's reasons for a failed handshake, and nothing else says
// them; the first one of an attempt is the most telling.
void MosquittoConnection::LogCallback(mosquitto*, void* self, int level, const char* message)
{
    auto& connection = *static_cast<MosquittoConnection*>(self);
    if (level == MOSQ_LOG_ERR && connection.m_TlsFailure.isEmpty()
        && std::strncmp(message, "OpenSSL Error", std::strlen("OpenSSL Error")) == 0)
        connection.m_TlsFailure = QString::fromUtf8(message);
}

void MosquittoConnection::DisconnectCallback(mosquitto*, void* self, int result)
{
    auto& connection = *static_cast<MosquittoConnection*>(self);
    connection.fail(result == MOSQ_ERR_SUCCESS ? MOSQ_ERR_CONN_LOST : result);
}

void MosquittoConnection::MessageCallback(mosquitto*, void* self, const mosquitto_message* message)
{
    auto& connection = *static_cast<MosquittoConnection*>(self);
    connection.m_MessageRead = true;
    emit connection.messageArrived(std::string_view(message->topic),
        std::string_view(
            static_cast<const char*>(message->payload), static_cast<std::size_t>(message->payloadlen)));
}

} // namespace vestrak
