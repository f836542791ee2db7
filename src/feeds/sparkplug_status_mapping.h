#pragma once

#include "feeds/sparkplug_payload.h"
#include "text/wildcard.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace vestrak {

/// A metric's current value, as a status mapping sees it.
struct SparkplugMetricValue {
    /// Integer types (and DateTime) as their number, Float and Double as double, Boolean, and the
    /// UTF-8 of String, Text and UUID; nothing for a value of another type or one that did not
    /// fit its type.
    using Value = std::variant<std::monostate, std::int64_t, double, bool, std::string_view>;

    /// The metric's tag name.
    const QString& tag;
    /// The type its birth declared.
    SparkplugDataType type = SparkplugDataType::Unknown;
    /// The value by that type.
    Value value;
    /// Milliseconds since the epoch: the metric's own timestamp, else its message's; 0 when neither
    /// has one.
    std::uint64_t timestamp = 0;
};

/// The status a metric's value gives, or nothing for unknown (1). A null value never reaches it.
using SparkplugStatusMapper = std::function<std::optional<std::int32_t>(const SparkplugMetricValue&)>;

/// What the feed does unless told otherwise: an integer type gives its value (its 32 bits, as hex
/// does in the plain feed; unknown beyond them), a Boolean 2 for false and 4 for true, every other
/// type unknown.
std::optional<std::int32_t> DefaultSparkplugStatus(const SparkplugMetricValue& metric);

/// The typed value of a metric as it travelled, by the type its birth declared.
SparkplugMetricValue::Value TypedSparkplugValue(SparkplugDataType type, const SparkplugMetric::Value& raw);

/// Status rules an integrator writes in a small text file, one rule a line:
///     TAG PATTERN | VALUE | STATUS
/// The first rule whose pattern (* and ? wildcards) matches the tag name and whose value test holds
/// gives the status; a metric that no rule takes gets DefaultSparkplugStatus.
class SparkplugStatusRules {
public:
    struct Read;
    /// The rules of a file's text; lines empty or starting with # are skipped.
    static Read FromText(std::string_view text);
    /// The rules of a file; a file that cannot be read is a problem too.
    static Read FromFile(const QString& path);

    /// The status of the first rule that takes the metric; nothing when none does.
    [[nodiscard]] std::optional<std::int32_t> statusOf(const SparkplugMetricValue& metric) const;
    /// The rules, then the default, as the feed's mapper.
    [[nodiscard]] SparkplugStatusMapper mapper() const;
    /// The number of rules.
    [[nodiscard]] std::size_t size() const { return m_Rules.size(); }

private:
    struct ValueTest {
        enum class Kind {
            Any,
            Boolean,
            Equal,
            Less,
            LessOrEqual,
            Greater,
            GreaterOrEqual,
            Text,
        };
        Kind kind = Kind::Any;
        double number = 0;
        bool boolean = false;
        std::string text;

        [[nodiscard]] bool holdsFor(const SparkplugMetricValue& metric) const;
    };
    struct Rule {
        WildcardPattern tag;
        ValueTest value;
        std::int32_t status = 0;
    };

    static std::optional<ValueTest> ReadValueTest(std::string_view text);

    std::vector<Rule> m_Rules;
};

/// What reading status rules gives.
struct SparkplugStatusRules::Read {
    /// The rules; none when a line is wrong.
    std::optional<SparkplugStatusRules> rules;
    /// Why there are none: the first bad line and what is wrong with it.
    QString problem;
};

} // namespace vestrak
