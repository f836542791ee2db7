#include "cistatus/cstatus.h"

#include "text/encoding.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace vestrak {

namespace {

// A length of this or more is written as this byte and the length in four bytes.
constexpr unsigned char LongLength = 0xFF;

std::size_t LengthBytes(std::size_t length)
{
    return length < LongLength ? 1 : 1 + sizeof(std::uint32_t);
}

char* WriteLength(char* kept, std::size_t length)
{
    if (length < LongLength) {
        *kept = static_cast<char>(length);
        return kept + 1;
    }
    const auto longLength = static_cast<std::uint32_t>(length);
    *kept = static_cast<char>(LongLength);
    std::memcpy(kept + 1, &longLength, sizeof longLength);
    return kept + 1 + sizeof longLength;
}

std::size_t TakeLength(const char*& kept)
{
    const auto shortLength = static_cast<unsigned char>(*kept++);
    if (shortLength < LongLength) {
        return shortLength;
    }
    std::uint32_t longLength = 0;
    std::memcpy(&longLength, kept, sizeof longLength);
    kept += sizeof longLength;
    return longLength;
}

} // namespace

std::size_t StatusTexts::Bytes(
    std::string_view section, std::string_view code, std::string_view text, std::string_view tagName)
{
    return LengthBytes(section.size()) + LengthBytes(code.size()) + LengthBytes(text.size())
        + LengthBytes(tagName.size()) + code.size() + text.size() + tagName.size();
}

void StatusTexts::Write(char* kept, std::string_view section, std::string_view code, std::string_view text,
    std::string_view tagName)
{
    for (const std::size_t length : { section.size(), code.size(), text.size(), tagName.size() }) {
        kept = WriteLength(kept, length);
    }
    for (const std::string_view bytes : { code, text, tagName }) {
        kept = std::copy(bytes.begin(), bytes.end(), kept);
    }
}

StatusTexts::Parts StatusTexts::parts() const
{
    if (m_Kept == nullptr) {
        return {};
    }
    const char* kept = m_Kept;
    const std::size_t sectionLength = TakeLength(kept);
    const std::size_t codeLength = TakeLength(kept);
    const std::size_t textLength = TakeLength(kept);
    const std::size_t tagNameLength = TakeLength(kept);
    return { .section = { kept, sectionLength },
        .code = { kept, codeLength },
        .text = { kept + codeLength, textLength },
        .tagName = { kept + codeLength + textLength, tagNameLength } };
}

std::u16string StatusTexts::Decoded(std::string_view bytes)
{
    std::u16string decoded;
    AppendDecoded(decoded, bytes, ObjectFileText::Encoding::Utf8);
    return decoded;
}

} // namespace vestrak
