#include "cistatus/cstatus.h"

#include "text/encoding.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// What the first byte of kept texts tells of their layout.
enum LayoutBits : unsigned char {
    // The section is the whole code: its length is not written.
    SectionIsCode = 1,
    // The tag name ends with the code, as tags named after their objects do: only its bytes
    // before the code are written, just before the code, so that the two overlap.
    TagEndsWithCode = 2,
};

} // namespace

StatusTexts::Writer::Writer(
    std::string_view section, std::string_view code, std::string_view text, std::string_view tagName)
    : m_SectionLength(section.size())
    , m_Code(code)
    , m_Text(text)
    , m_TagName(tagName)
    , m_TagWritten(tagName)
{
    if (section.size() == code.size()) {
        m_Layout |= SectionIsCode;
    }
    if (!code.empty() && tagName.ends_with(code)) {
        m_Layout |= TagEndsWithCode;
        m_TagWritten = tagName.substr(0, tagName.size() - code.size());
    }
    const std::size_t sectionBytes = (m_Layout & SectionIsCode) != 0 ? 0 : LengthBytes(section.size());
    m_Bytes = 1 + sectionBytes + LengthBytes(code.size()) + LengthBytes(text.size())
        + LengthBytes(tagName.size()) + code.size() + text.size() + m_TagWritten.size();
}

void StatusTexts::Writer::write(char* kept) const
{
    *kept++ = static_cast<char>(m_Layout);
    if ((m_Layout & SectionIsCode) == 0) {
        kept = WriteLength(kept, m_SectionLength);
    }
    kept = WriteLength(kept, m_Code.size());
    kept = WriteLength(kept, m_Text.size());
    kept = WriteLength(kept, m_TagName.size());
    // A tag name's bytes before the code come just before it, and make the whole tag name with it.
    const bool tagBeforeCode = (m_Layout & TagEndsWithCode) != 0;
    const std::array written = tagBeforeCode ? std::array { m_TagWritten, m_Code, m_Text }
                                             : std::array { m_Code, m_Text, m_TagWritten };
    for (const std::string_view bytes : written) {
        kept = std::copy(bytes.begin(), bytes.end(), kept);
    }
}

StatusTexts::Parts StatusTexts::parts() const
{
    if (m_Kept == nullptr) {
        return {};
    }
    const char* kept = m_Kept;
    const auto layout = static_cast<unsigned char>(*kept++);
    const std::size_t givenSectionLength = (layout & SectionIsCode) != 0 ? 0 : TakeLength(kept);
    const std::size_t codeLength = TakeLength(kept);
    const std::size_t sectionLength = (layout & SectionIsCode) != 0 ? codeLength : givenSectionLength;
    const std::size_t textLength = TakeLength(kept);
    const std::size_t tagNameLength = TakeLength(kept);
    if ((layout & TagEndsWithCode) != 0) {
        const char* code = kept + (tagNameLength - codeLength);
        return { .section = { code, sectionLength },
            .code = { code, codeLength },
            .text = { code + codeLength, textLength },
            .tagName = { kept, tagNameLength } };
    }
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
