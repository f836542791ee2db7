#include "feeds/mqtt_feed_options.h"

#include <QUrl>

namespace vestrak {

namespace {

constexpr int PlainPort = 1883;
constexpr int TlsPort = 8883;

} // namespace

ParsedFeedUrl ParseFeedUrl(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    MqttFeedOptions options;
    if (parsed.scheme() == QLatin1String("mqtts")) {
        options.transport = MqttFeedOptions::Transport::Tls;
    } else if (parsed.scheme() != QLatin1String("mqtt")) {
        return { std::nullopt, QStringLiteral("%1 is not an mqtt:// or mqtts:// address").arg(url) };
    }
    if (!parsed.isValid() || parsed.host().isEmpty())
        return { std::nullopt, QStringLiteral("%1 names no broker host").arg(url) };
    if (!parsed.userInfo().isEmpty() || parsed.hasQuery() || parsed.hasFragment())
        return { std::nullopt,
            QStringLiteral("%1: give the user with its own option; the address takes no query").arg(url) };
    options.host = parsed.host();
    options.port = parsed.port(options.transport == MqttFeedOptions::Transport::Tls ? TlsPort : PlainPort);
    options.prefix = parsed.path(QUrl::FullyDecoded);
    while (options.prefix.startsWith(QLatin1Char('/')))
        options.prefix.remove(0, 1);
    while (options.prefix.endsWith(QLatin1Char('/')))
        options.prefix.chop(1);
    if (options.prefix.contains(QLatin1Char('+')) || options.prefix.contains(QLatin1Char('#')))
        return { std::nullopt, QStringLiteral("%1: the topic prefix may not hold + or #").arg(url) };
    return { options, {} };
}

} // namespace vestrak
