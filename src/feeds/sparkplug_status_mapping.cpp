#include "feeds/sparkplug_status_mapping.h"

#include "feeds/status_payload.h"
#include "text/wildcard.h"

#include <QFile>
#include <charconv>
#include <limits>

namespace vestrak {

namespace {

constexpr std::int32_t BooleanFalseStatus = 2;
constexpr std::int32_t BooleanTrueStatus = 4;
// A rules file is a few lines; a larger one is not a rules file.
constexpr qint64 MostRulesFileBytes = qint64 { 1024 } * 1024;

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ReadNumber(std::string_view text)
{
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

bool IsIntegerType(SparkplugDataType type)
{
    return type >= SparkplugDataType::Int8 && type <= SparkplugDataType::UInt64;
}

// Compares at the width the value travelled in, so that a rule's 0.1 equals a Float's 0.1.
double AtWidthOf(SparkplugDataType type, double number)
{
    return type == SparkplugDataType::Float ? static_cast<double>(static_cast<float>(number)) : number;
}

// What a rule asks of a metric's value.
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

std::optional<ValueTest> ReadValueTest(std::string_view text)
{
    using Kind = ValueTest::Kind;
    if (text.empty())
        return std::nullopt;
    if (text == "*")
        return ValueTest {};
    if (text == "true" || text == "false")
        return ValueTest { Kind::Boolean, 0, text == "true", {} };
    constexpr std::array<std::pair<std::string_view, Kind>, 5> comparisons { {
        { "<=", Kind::LessOrEqual },
        { ">=", Kind::GreaterOrEqual },
        { "<", Kind::Less },
        { ">", Kind::Greater },
        { "=", Kind::Equal },
    } };
    for (const auto& [sign, kind] : comparisons) {
        if (!text.starts_with(sign))
            continue;
        if (const std::optional<double> number = ReadNumber(Trimmed(text.substr(sign.size()))))
            return ValueTest { kind, *number, false, {} };
        break;
    }
    if (const std::optional<double> number = ReadNumber(text))
        return ValueTest { Kind::Equal, *number, false, {} };
    return ValueTest { Kind::Text, 0, false, std::string(text) };
}

bool ValueTest::holdsFor(const SparkplugMetricValue& metric) const
{
    if (kind == Kind::Any)
        return !std::holds_alternative<std::monostate>(metric.value);
    if (kind == Kind::Boolean) {
        const auto* value = std::get_if<bool>(&metric.value);
        return value && *value == boolean;
    }
    if (kind == Kind::Text) {
        const auto* value = std::get_if<std::string_view>(&metric.value);
        return value && *value == text;
    }
    double value = 0;
    if (const auto* integer = std::get_if<std::int64_t>(&metric.value))
        value = static_cast<double>(*integer);
    else if (const auto* floating = std::get_if<double>(&metric.value))
        value = *floating;
    else
        return false;
    const double wanted = AtWidthOf(metric.type, number);
    switch (kind) {
    case Kind::Less:
        return value < wanted;
    case Kind::LessOrEqual:
        return value <= wanted;
    case Kind::Greater:
        return value > wanted;
    case Kind::GreaterOrEqual:
        return value >= wanted;
    default:
        return value == wanted;
    }
}

} // namespace

struct SparkplugStatusRules::Rule {
    WildcardPattern tag;
    ValueTest value;
    std::int32_t status = 0;
};

SparkplugStatusRules::SparkplugStatusRules() = default;
SparkplugStatusRules::~SparkplugStatusRules() = default;
SparkplugStatusRules::SparkplugStatusRules(const SparkplugStatusRules& other) = default;
SparkplugStatusRules::SparkplugStatusRules(SparkplugStatusRules&& other) noexcept = default;
SparkplugStatusRules& SparkplugStatusRules::operator=(const SparkplugStatusRules& other) = default;
SparkplugStatusRules& SparkplugStatusRules::operator=(SparkplugStatusRules&& other) noexcept = default;

std::size_t SparkplugStatusRules::size() const
{
    return m_Rules.size();
}

SparkplugMetricValue::Value TypedSparkplugValue(SparkplugDataType type, const SparkplugMetric::Value& raw)
{
    using Type = SparkplugDataType;
    if (const auto* bits = std::get_if<std::uint64_t>(&raw)) {
        switch (type) {
        case Type::Int8:
            return std::int64_t { static_cast<std::int8_t>(*bits) };
        case Type::Int16:
            return std::int64_t { static_cast<std::int16_t>(*bits) };
        case Type::Int32:
            return std::int64_t { static_cast<std::int32_t>(*bits) };
        case Type::UInt8:
            return std::int64_t { static_cast<std::uint8_t>(*bits) };
        case Type::UInt16:
            return std::int64_t { static_cast<std::uint16_t>(*bits) };
        case Type::UInt32:
            return std::int64_t { static_cast<std::uint32_t>(*bits) };
        case Type::Int64:
        case Type::DateTime:
            return static_cast<std::int64_t>(*bits);
        case Type::UInt64:
            if (*bits > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                return std::monostate {};
            return static_cast<std::int64_t>(*bits);
        default:
            return std::monostate {};
        }
    }
    if (const auto* number = std::get_if<double>(&raw)) {
        if (type == Type::Float || type == Type::Double)
            return *number;
        return std::monostate {};
    }
    if (const auto* boolean = std::get_if<bool>(&raw)) {
        if (type == Type::Boolean)
            return *boolean;
        return std::monostate {};
    }
    if (const auto* text = std::get_if<std::string>(&raw)) {
        if (type == Type::String || type == Type::Text || type == Type::Uuid)
            return std::string_view(*text);
    }
    return std::monostate {};
}

std::optional<std::int32_t> DefaultSparkplugStatus(const SparkplugMetricValue& metric)
{
    if (const auto* boolean = std::get_if<bool>(&metric.value))
        return *boolean ? BooleanTrueStatus : BooleanFalseStatus;
    const auto* number = std::get_if<std::int64_t>(&metric.value);
    if (!number || !IsIntegerType(metric.type) || *number < std::numeric_limits<std::int32_t>::min()
        || *number > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

SparkplugStatusRules::Read SparkplugStatusRules::FromText(std::string_view text)
{
    SparkplugStatusRules rules;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        const auto wrong = [lineNumber](const char* what) {
            return Read { std::nullopt,
                QStringLiteral("line %1: %2").arg(lineNumber).arg(QLatin1String(what)) };
        };
        const std::size_t first = line.find('|');
        const std::size_t second = line.rfind('|');
        if (first == second)
            return wrong("a rule is TAG PATTERN | VALUE | STATUS");
        const std::string_view pattern = Trimmed(line.substr(0, first));
        const std::optional<ValueTest> value
            = ReadValueTest(Trimmed(line.substr(first + 1, second - first - 1)));
        const StatusReading status = ReadStatusPayload(Trimmed(line.substr(second + 1)));
        if (pattern.empty())
            return wrong("the tag pattern is empty");
        if (!value)
            return wrong("the value test is empty");
        if (status.kind != StatusReading::Kind::Value)
            return wrong("the status is not a whole number (decimal, 0x or &H hex)");
        rules.m_Rules.push_back(
            { WildcardPattern(
                  QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size())).toStdU16String()),
                *value, status.value });
    }
    return { std::move(rules), {} };
}

SparkplugStatusRules::Read SparkplugStatusRules::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { std::nullopt, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()) };
    const QByteArray text = file.read(MostRulesFileBytes + 1);
    if (text.size() > MostRulesFileBytes)
        return { std::nullopt, QStringLiteral("%1 is larger than a rules file can be (1 MiB)").arg(path) };
    Read read = FromText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!read.rules)
        read.problem = path + QStringLiteral(", ") + read.problem;
    return read;
}

std::optional<std::int32_t> SparkplugStatusRules::statusOf(const SparkplugMetricValue& metric) const
{
    const std::u16string_view tag(
        reinterpret_cast<const char16_t*>(metric.tag.utf16()), static_cast<std::size_t>(metric.tag.size()));
    for (const Rule& rule : m_Rules) {
        if (rule.value.holdsFor(metric) && rule.tag.matches(tag))
            return rule.status;
    }
    return DefaultSparkplugStatus(metric);
}

SparkplugStatusMapper SparkplugStatusRules::mapper() const
{
    return [rules = *this](const SparkplugMetricValue& metric) { return rules.statusOf(metric); };
}

} // namespace vestrak
