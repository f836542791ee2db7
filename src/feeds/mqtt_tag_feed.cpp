#include "feeds/mqtt_tag_feed.h"

#include "feeds/mosquitto_connection.h"
#include "feeds/status_payload.h"

#include <QStringDecoder>
#include <QTimer>

Q_LOGGING_CATEGORY(VestrakFeedLog, "vestrak.feed")

namespace vestrak {

namespace {

constexpr qsizetype MostPayloadBytesLogged = 60;
// Longer names of tags not asked for are not kept, so that the room for them stays small.
constexpr qsizetype LongestUnusedTagKept = 256;

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

// An object file's tag ends at a comma or a line end, and a topic holds valid UTF-8 without NUL: a
// topic level against these rules can name no object's tag.
std::optional<QString> TagNamed(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString tag = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError() || tag.isEmpty())
        return std::nullopt;
    for (const QChar character : tag) {
        if (character == QLatin1Char(',') || character == QLatin1Char('\r') || character == QLatin1Char('\n')
            || character.isNull())
            return std::nullopt;
    }
    return tag;
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
        m_MessagesDropped = false;
        m_DropsReported = false;
        m_MalformedTopicReported = false;
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
    auto found = m_Tags.find(tag);
    if (found == m_Tags.end()) {
        TagValue asked;
        asked.use = Use::Asked;
        found = m_Tags.insert(tag, asked);
        if (m_MessagesDropped)
            subscribeAgainForDroppedValues();
    } else if (found->use == Use::Unused) {
        found->use = Use::Asked;
        --m_UnusedCount;
    }
    if (!isConnected() || !found->value)
        return UnknownStatus;
    if (m_Options.staleAfter.count() > 0 && m_Clock() - found->receivedAt > m_Options.staleAfter)
        return UnknownStatus;
    return *found->value;
}

void MqttTagFeed::take(std::string_view topic, std::string_view payload)
{
    if (!topic.starts_with(std::string_view(m_TopicPrefix.constData(), m_TopicPrefix.size())))
        return;
    const std::optional<QString> tag = TagNamed(topic.substr(m_TopicPrefix.size()));
    if (!tag) {
        reportMalformedTopic(topic);
        return;
    }
    const StatusReading reading = ReadStatusPayload(payload);
    TagValue* entry = entryFor(*tag);
    if (!entry) {
        // A page's own value for the tag still gives way to the feed, which then asks for it.
        if (reading.kind != StatusReading::Kind::Malformed)
            emit tagUpdated(*tag);
        return;
    }
    switch (reading.kind) {
    case StatusReading::Kind::Malformed:
        if (!entry->malformedReported) {
            entry->malformedReported = true;
            qCWarning(VestrakFeedLog).noquote()
                << QStringLiteral("tag \"%1\" keeps its last good value: the payload \"%2\" is not a status")
                       .arg(Printable(topic.substr(m_TopicPrefix.size())), Printable(payload));
        }
        return;
    case StatusReading::Kind::Withdrawn:
        entry->value.reset();
        break;
    case StatusReading::Kind::Value:
        entry->value = reading.value;
        entry->malformedReported = false;
        break;
    }
    entry->receivedAt = m_Clock();
    emit tagUpdated(*tag);
}

MqttTagFeed::TagValue* MqttTagFeed::entryFor(const QString& tag)
{
    const auto found = m_Tags.find(tag);
    if (found != m_Tags.end())
        return &*found;
    if (m_UnusedCount < m_Options.mostUnusedTopicsKept && tag.size() <= LongestUnusedTagKept) {
        ++m_UnusedCount;
        return &*m_Tags.insert(tag, TagValue {});
    }
    m_MessagesDropped = true;
    if (!m_DropsReported) {
        m_DropsReported = true;
        qCWarning(VestrakFeedLog).noquote()
            << QStringLiteral("more topics than the %1 kept for tags no object has asked for: the feed "
                              "drops the others until an object asks for them")
                   .arg(m_Options.mostUnusedTopicsKept);
    }
    return nullptr;
}

void MqttTagFeed::reportMalformedTopic(std::string_view topic)
{
    if (m_MalformedTopicReported)
        return;
    m_MalformedTopicReported = true;
    qCWarning(VestrakFeedLog).noquote()
        << QStringLiteral("the topic \"%1\" names no tag (it is empty below the prefix, or holds a comma, a "
                          "line break or bad UTF-8): it and any further such topics are ignored")
               .arg(Printable(topic));
}

// The broker sends its retained messages again on a new subscription: values dropped before an
// object asked for their tag come back.
void MqttTagFeed::subscribeAgainForDroppedValues()
{
    if (m_SubscriptionAgainPending)
        return;
    m_SubscriptionAgainPending = true;
    // One new subscription for all the tags of a status query.
    QTimer::singleShot(0, this, [this] {
        m_SubscriptionAgainPending = false;
        m_MessagesDropped = false;
        m_Connection->subscribeAgain();
    });
}

// Values from before a loss are not trusted after it: the broker's retained messages and the
// publishers' next messages bring them back.
void MqttTagFeed::lose(const QString& reason)
{
    m_Tags.removeIf([](const auto& entry) { return entry.value().use == Use::Unused; });
    m_UnusedCount = 0;
    for (TagValue& entry : m_Tags)
        entry.value.reset();
    if (m_LossReported)
        return;
    m_LossReported = true;
    emit connectionLost(reason);
}

} // namespace vestrak
