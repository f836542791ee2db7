#include "cistatus/cstatus.h"

#include "text/encoding.h"

#include <array>
#include <cstring>

namespace vestrak {

namespace {

// A length of this or more is written as this byte and the length in four bytes.
constexpr unsigned char LongLength = 0xFF;

void AppendLength(std::string& kept, std::size_t length)
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

void StatusTexts::Append(std::string& kept, std::string_view section, std::string_view code,
    std::string_view text, std::string_view tagName)
{
    AppendLength(kept, section.size());
    AppendLength(kept, code.size());
    AppendLength(kept, text.size());
    AppendLength(kept, tagName.size());
    kept += code;
    kept += text;
    kept += tagName;
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
