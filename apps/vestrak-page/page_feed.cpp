#include "page_feed.h"

#include "page_host/page_runner.h"
#include "password_file.h"
#include "text/output_text.h"

#include <iostream>
#include <optional>

namespace vestrak {

namespace {

QString BrokerName(const MqttFeedOptions& options)
{
    return QStringLiteral("%1:%2").arg(options.host).arg(options.port);
}

// The login and TLS options, which both kinds of feed take alike; a problem when they do not fit.
std::optional<std::string> TakeSecurityOptions(const PageFeedOptions& options, MqttFeedOptions& feedOptions)
{
    feedOptions.user = QString::fromStdString(options.user);
    feedOptions.caFile = QString::fromStdString(options.caFile);
    feedOptions.certificateFile = QString::fromStdString(options.certificateFile);
    feedOptions.keyFile = QString::fromStdString(options.keyFile);
    const bool tlsFileGiven = !options.caFile.empty() || !options.certificateFile.empty();
    if (tlsFileGiven && feedOptions.transport != MqttFeedOptions::Transport::Tls)
        return "--cafile, --cert and --key need an mqtts:// address";
    if (!options.passwordFile.empty()) {
        const PasswordFileRead read = ReadPasswordFile(options.passwordFile);
        if (!read.password)
            return read.problem;
        if (!read.warning.empty())
            std::cerr << "vestrak-page: warning: " << PrintableText(read.warning) << std::endl;
        feedOptions.password = *read.password;
    }
    return std::nullopt;
}

PageFeed::Created CreateSparkplugFeed(
    const PageFeedOptions& options, PageRunner& runner, const PageFeed::StateShower& showState)
{
    ParsedSparkplugUrl parsed = ParseSparkplugUrl(QString::fromStdString(options.url));
    if (!parsed.options)
        return { nullptr, parsed.problem.toStdString() };
    SparkplugFeedOptions& feedOptions = *parsed.options;
    if (const std::optional<std::string> problem = TakeSecurityOptions(options, feedOptions.connection))
        return { nullptr, *problem };
    if (options.groupInTagNames)
        feedOptions.groupInTagNames = SparkplugFeedOptions::GroupInTagNames::Yes;
    if (!options.statusRulesFile.empty()) {
        const SparkplugStatusRules::Read read
            = SparkplugStatusRules::FromFile(QString::fromStdString(options.statusRulesFile));
        if (!read.rules)
            return { nullptr, read.problem.toStdString() };
        feedOptions.statusMapper = read.rules->mapper();
    }
    return { std::make_unique<PageFeed>(std::make_unique<SparkplugFeed>(feedOptions), runner, showState),
        {} };
}

} // namespace

PageFeed::Created PageFeed::Create(
    const PageFeedOptions& options, PageRunner& runner, const StateShower& showState)
{
    if (options.protocol == PageFeedOptions::Protocol::SparkplugB)
        return CreateSparkplugFeed(options, runner, showState);
    ParsedFeedUrl parsed = ParseFeedUrl(QString::fromStdString(options.url));
    if (!parsed.options)
        return { nullptr, parsed.problem.toStdString() };
    MqttFeedOptions& feedOptions = *parsed.options;
    feedOptions.staleAfter = std::chrono::seconds(options.staleSeconds);
    if (const std::optional<std::string> problem = TakeSecurityOptions(options, feedOptions))
        return { nullptr, *problem };
    return { std::make_unique<PageFeed>(std::make_unique<MqttTagFeed>(feedOptions), runner, showState), {} };
}

PageFeed::PageFeed(std::unique_ptr<MqttTagFeed> feed, PageRunner& runner, const StateShower& showState)
    : m_Runner(runner)
    , m_PlainFeed(std::move(feed))
{
    wire(*m_PlainFeed, m_PlainFeed->options(), { QStringLiteral("MQTT"), "the MQTT broker" }, showState);
}

PageFeed::PageFeed(std::unique_ptr<SparkplugFeed> feed, PageRunner& runner, const StateShower& showState)
    : m_Runner(runner)
    , m_SparkplugFeed(std::move(feed))
{
    wire(*m_SparkplugFeed, m_SparkplugFeed->options().connection,
        { QStringLiteral("Sparkplug B"), "Sparkplug B edge nodes through the MQTT broker" }, showState);
}

template<typename Feed>
void PageFeed::wire(
    Feed& feed, const MqttFeedOptions& connection, const Naming& naming, const StateShower& showState)
{
    const QString broker = BrokerName(connection);
    const QString kind = naming.kind;
    showState(QStringLiteral("%1: connecting to %2").arg(kind, broker));
    QObject::connect(&feed, &Feed::connected, &feed, [broker, kind, origin = naming.origin, showState] {
        std::cerr << "vestrak-page: statuses come from " << origin << " at "
                  << PrintableText(broker.toStdString()) << std::endl;
        showState(QStringLiteral("%1: %2").arg(kind, broker));
    });
    QObject::connect(&feed, &Feed::connectionLost, &feed,
        [broker, kind, origin = naming.origin, showState](const QString& reason) {
            std::cerr << "vestrak-page: no statuses from " << origin << " at "
                      << PrintableText(broker.toStdString()) << ": " << PrintableText(reason.toStdString())
                      << "; every fed tag shows unknown until it answers" << std::endl;
            showState(QStringLiteral("%1: no statuses from %2: %3").arg(kind, broker, reason));
        });
    QObject::connect(&feed, &Feed::tagUpdated, &feed,
        [this](const QString& tag) { m_Runner.forgetTag(tag.toStdU16String()); });
    m_Runner.setTagSource(
        [&feed](const std::u16string& tag) { return feed.status(QString::fromStdU16String(tag)); });
}

void PageFeed::start()
{
    if (m_PlainFeed)
        m_PlainFeed->start();
    if (m_SparkplugFeed)
        m_SparkplugFeed->start();
}

PageFeed::~PageFeed()
{
    m_Runner.setTagSource(nullptr);
}

} // namespace vestrak
