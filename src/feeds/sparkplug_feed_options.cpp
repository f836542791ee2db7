#include "feeds/sparkplug_feed_options.h"

namespace vestrak {

ParsedSparkplugUrl ParseSparkplugUrl(const QString& url)
{
    ParsedFeedUrl parsed = ParseFeedUrl(url);
    if (!parsed.options)
        return { std::nullopt, parsed.problem };
    SparkplugFeedOptions options;
    options.groups = parsed.options->prefix.split(QLatin1Char(','));
    options.groups.removeDuplicates();
    parsed.options->prefix.clear();
    options.connection = *parsed.options;
    for (const QString& group : options.groups) {
        if (group.isEmpty() || group.contains(QLatin1Char('/')))
            return { std::nullopt,
                QStringLiteral("%1: give the Sparkplug groups as GROUP[,GROUP...], each one topic level")
                    .arg(url) };
    }
    return { options, {} };
}

} // namespace vestrak
