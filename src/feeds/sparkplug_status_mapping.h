#pragma once

#include "../export.h"
#include "../feeds/sparkplug_payload.h"

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
VESTRAK_FEEDS_EXPORT std::optional<std::int32_t> DefaultSparkplugStatus(const SparkplugMetricValue& metric);

/// The typed value of a metric as it travelled, by the type its birth declared.
VESTRAK_FEEDS_EXPORT SparkplugMetricValue::Value TypedSparkplugValue(
    SparkplugDataType type, const SparkplugMetric::Value& raw);

/// Status rules an integrator writes in a small text file, one rule a line:
///     TAG PATTERN | VALUE | STATUS
/// The first rule whose pattern (* and ? wildcards) matches the tag name and whose value test holds
/// gives the status; a metric that no rule takes gets DefaultSparkplugStatus.
class VESTRAK_FEEDS_EXPORT SparkplugStatusRules {
public:
    struct Read;

    SparkplugStatusRules();
    ~SparkplugStatusRules();
    /// A copy of the rules.
    SparkplugStatusRules(const SparkplugStatusRules& other);
    /// The rules taken over.
    SparkplugStatusRules(SparkplugStatusRules&& other) noexcept;
    /// Takes a copy of the rules.
    SparkplugStatusRules& operator=(const SparkplugStatusRules& other);
    /// Takes the rules over.
    SparkplugStatusRules& operator=(SparkplugStatusRules&& other) noexcept;

    /// The rules of a file's text; lines empty or starting with # are skipped.
    static Read FromText(std::string_view text);
    /// The rules of a file; a file that cannot be read is a problem too.
    static Read FromFile(const QString& path);

    /// The status of the first rule that takes the metric; nothing when none does.
    [[nodiscard]] std::optional<std::int32_t> statusOf(const SparkplugMetricValue& metric) const;
    /// The rules, then the default, as the feed's mapper.
    [[nodiscard]] SparkplugStatusMapper mapper() const;
    /// How many rules there are.
    [[nodiscard]] std::size_t size() const;

private:
    // A rule holds a compiled tag pattern, which stays inside the library.
    struct Rule;

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
