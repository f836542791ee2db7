#include "feeds/status_payload.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace vestrak {

namespace {

constexpr std::string_view Blanks = " \t\r\n";
constexpr std::size_t MostHexDigits = 8;

std::string_view WithoutBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::optional<std::int32_t> HexNumber(std::string_view digits)
{
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    std::uint32_t bits = 0;
    if (digits.empty() || digits.size() > MostHexDigits)
        return std::nullopt;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<std::int32_t>(bits);
}

std::optional<std::int32_t> DecimalNumber(std::string_view text)
{
    // from_chars takes a minus but no plus: one plus is allowed before the digits, and no sign after it.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> TextNumber(std::string_view text)
{
    for (const std::string_view hexMark : { "0x", "0X", "&H", "&h" }) {
        if (text.starts_with(hexMark))
            return HexNumber(text.substr(hexMark.size()));
    }
    return DecimalNumber(text);
}

std::optional<std::int32_t> JsonValue(std::string_view text)
{
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
    const QJsonValue value = document.object().value(QStringLiteral("value"));
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::trunc(number) || number < std::numeric_limits<std::int32_t>::min()
        || number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

} // namespace

StatusReading ReadStatusPayload(std::string_view payload)
{
    if (payload.empty())
        return { StatusReading::Kind::Withdrawn };
    const std::string_view text = WithoutBlanks(payload);
    const std::optional<std::int32_t> value = text.starts_with('{') ? JsonValue(text) : TextNumber(text);
    if (!value)
        return { StatusReading::Kind::Malformed };
    return { StatusReading::Kind::Value, *value };
}

} // namespace vestrak
