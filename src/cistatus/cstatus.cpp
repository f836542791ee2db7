#include "cistatus/cstatus.h"

#include "text/encoding.h"

#include <array>
#include <cstring>

namespace vestrak {

namespace {

// A length of this or more is written as this byte and the length in four bytes.
constexpr unsigned char LongLength = 0xFF;

} // namespace

void StatusText::AppendLength(std::string& kept, std::size_t length)
{
    if (length < LongLength) {
        kept += static_cast<char>(length);
        return;
    }
    const auto longLength = static_cast<std::uint32_t>(length);
    std::array<char, sizeof longLength> lengthBytes {};
    std::memcpy(lengthBytes.data(), &longLength, sizeof longLength);
    kept += static_cast<char>(LongLength);
    kept.append(lengthBytes.data(), lengthBytes.size());
}

std::string_view StatusText::bytes() const
{
    if (m_LengthAndBytes == nullptr) {
        return {};
    }
    const auto shortLength = static_cast<unsigned char>(*m_LengthAndBytes);
    if (shortLength < LongLength) {
        return { m_LengthAndBytes + 1, shortLength };
    }
    std::uint32_t longLength = 0;
    std::memcpy(&longLength, m_LengthAndBytes + 1, sizeof longLength);
    return { m_LengthAndBytes + 1 + sizeof longLength, longLength };
}

std::u16string StatusText::text() const
{
    std::u16string decoded;
    appendTextTo(decoded);
    return decoded;
}

void StatusText::appendTextTo(std::u16string& text) const
{
    AppendDecoded(text, bytes(), ObjectFileText::Encoding::Utf8);
}

} // namespace vestrak
