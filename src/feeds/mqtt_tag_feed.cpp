#include "feeds/mqtt_tag_feed.h"

#include "feeds/mosquitto_connection.h"
#include "feeds/status_payload.h"

Q_LOGGING_CATEGORY(VestrakFeedLog, "vestrak.feed")

namespace vestrak {

namespace {

constexpr qsizetype MostPayloadBytesLogged = 60;

// What a publisher sent, fit for one log line: control characters (line breaks above all) become
// "?", and a long payload is cut.
QString Printable(std::string_view bytes)
{
    QString text = QString::fromUtf8(
        bytes.data(), std::min<qsizetype>(static_cast<qsizetype>(bytes.size()), MostPayloadBytesLogged));
    for (QChar& character : text) {
        if (character.category() == QChar::Other_Control)
            character = QLatin1Char('?');
    }
    return text;
}

std::chrono::milliseconds SteadyNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

MqttTagFeed::MqttTagFeed(const MqttFeedOptions& options, QObject* parent)
    : QObject(parent)
    , m_Options(options)
    , m_Clock(SteadyNow)
    , m_TopicPrefix(options.prefix.isEmpty() ? QByteArray() : options.prefix.toUtf8() + '/')
{
    m_Connection = new MosquittoConnection(options, QString::fromUtf8(m_TopicPrefix + '#'), this);
    connect(m_Connection, &MosquittoConnection::connected, this, [this] {
        m_LossReported = false;
        emit connected();
    });
    connect(m_Connection, &MosquittoConnection::connectionFailed, this, &MqttTagFeed::lose);
    connect(m_Connection, &MosquittoConnection::messageArrived, this, &MqttTagFeed::take);
}

MqttTagFeed::~MqttTagFeed() = default;

void MqttTagFeed::start()
{
    m_Connection->open();
}

bool MqttTagFeed::isConnected() const
{
    return m_Connection->isConnected();
}

void MqttTagFeed::setMonotonicClock(MonotonicClock clock)
{
    m_Clock = std::move(clock);
}

std::int32_t MqttTagFeed::status(const QString& tag)
{
    if (!isConnected())
        return UnknownStatus;
    const auto found = m_Tags.constFind(tag);
    if (found == m_Tags.cend() || !found->value)
        return UnknownStatus;
    if (m_Options.staleAfter.count() > 0 && m_Clock() - found->receivedAt > m_Options.staleAfter)
        return UnknownStatus;
    return *found->value;
}

void MqttTagFeed::take(std::string_view topic, std::string_view payload)
{
    if (!topic.starts_with(std::string_view(m_TopicPrefix.constData(), m_TopicPrefix.size())))
        return;
    const QString tag = QString::fromUtf8(topic.substr(m_TopicPrefix.size()));
    if (tag.isEmpty())
        return;
    TagValue& entry = m_Tags[tag];
    const StatusReading reading = ReadStatusPayload(payload);
    switch (reading.kind) {
    case StatusReading::Kind::Malformed:
        if (!entry.malformedReported) {
            entry.malformedReported = true;
            qCWarning(VestrakFeedLog).noquote()
                << QStringLiteral("tag \"%1\" keeps its last good value: the payload \"%2\" is not a status")
                       .arg(Printable(topic.substr(m_TopicPrefix.size())), Printable(payload));
        }
        return;
    case StatusReading::Kind::Withdrawn:
        entry.value.reset();
        break;
    case StatusReading::Kind::Value:
        entry.value = reading.value;
        entry.malformedReported = false;
        break;
    }
    entry.receivedAt = m_Clock();
    emit tagUpdated(tag);
}

// Values from before a loss are not trusted after it: the broker's retained messages and the
// publishers' next messages bring them back.
void MqttTagFeed::lose(const QString& reason)
{
    for (TagValue& entry : m_Tags)
        entry.value.reset();
    if (m_LossReported)
        return;
    m_LossReported = true;
    emit connectionLost(reason);
}

} // namespace vestrak
