#include "page_feed.h"

#include "container/page_runner.h"
#include "password_file.h"

#include <iostream>

namespace vestrak {

namespace {

QString BrokerName(const MqttFeedOptions& options)
{
    return QStringLiteral("%1:%2").arg(options.host).arg(options.port);
}

} // namespace

PageFeed::Created PageFeed::Create(
    const PageFeedOptions& options, PageRunner& runner, const StateShower& showState)
{
    ParsedFeedUrl parsed = ParseFeedUrl(QString::fromStdString(options.url));
    if (!parsed.options)
        return { nullptr, parsed.problem.toStdString() };
    MqttFeedOptions& feedOptions = *parsed.options;
    feedOptions.staleAfter = std::chrono::seconds(options.staleSeconds);
    feedOptions.user = QString::fromStdString(options.user);
    feedOptions.caFile = QString::fromStdString(options.caFile);
    feedOptions.certificateFile = QString::fromStdString(options.certificateFile);
    feedOptions.keyFile = QString::fromStdString(options.keyFile);
    const bool tlsFileGiven = !options.caFile.empty() || !options.certificateFile.empty();
    if (tlsFileGiven && feedOptions.transport != MqttFeedOptions::Transport::Tls)
        return { nullptr, "--cafile, --cert and --key need an mqtts:// address" };
    if (!options.passwordFile.empty()) {
        const PasswordFileRead read = ReadPasswordFile(options.passwordFile);
        if (!read.password)
            return { nullptr, read.problem };
        if (!read.warning.empty())
            std::cerr << "vestrak-page: warning: " << read.warning << std::endl;
        feedOptions.password = *read.password;
    }
    return { std::make_unique<PageFeed>(feedOptions, runner, showState), {} };
}

PageFeed::PageFeed(const MqttFeedOptions& options, PageRunner& runner, const StateShower& showState)
    : m_Runner(runner)
    , m_Feed(options)
{
    const QString broker = BrokerName(options);
    showState(QStringLiteral("MQTT: connecting to %1").arg(broker));
    QObject::connect(&m_Feed, &MqttTagFeed::connected, &m_Feed, [broker, showState] {
        std::cerr << "vestrak-page: statuses come from the MQTT broker at " << broker.toStdString()
                  << std::endl;
        showState(QStringLiteral("MQTT: %1").arg(broker));
    });
    QObject::connect(
        &m_Feed, &MqttTagFeed::connectionLost, &m_Feed, [broker, showState](const QString& reason) {
            std::cerr << "vestrak-page: no statuses from the MQTT broker at " << broker.toStdString() << ": "
                      << reason.toStdString() << "; every fed tag shows unknown until it answers"
                      << std::endl;
            showState(QStringLiteral("MQTT: no statuses from %1: %2").arg(broker, reason));
        });
    QObject::connect(&m_Feed, &MqttTagFeed::tagUpdated, &m_Feed,
        [this](const QString& tag) { m_Runner.forgetTag(tag.toStdU16String()); });
    m_Runner.setTagSource(
        [this](const std::u16string& tag) { return m_Feed.status(QString::fromStdU16String(tag)); });
}

PageFeed::~PageFeed()
{
    m_Runner.setTagSource(nullptr);
}

} // namespace vestrak
