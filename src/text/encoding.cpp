#include "text/encoding.h"

#include "text/byte_words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

namespace vestrak {

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view LittleEndianMark = "\xFF\xFE";
constexpr std::string_view BigEndianMark = "\xFE\xFF";

// One step of UTF-8 decoding: the code point, or nothing for an invalid sequence, and how many
// bytes it took (the longest valid start of a sequence, at least one byte).
struct Utf8Step {
    std::optional<char32_t> codePoint;
    std::size_t length = 1;
};

Utf8Step DecodeUtf8At(std::string_view bytes, std::size_t position)
{
    const auto lead = static_cast<unsigned char>(bytes[position]);
    if (lead < 0x80) {
        return { lead, 1 };
    }
    std::size_t continuationCount = 0;
    char32_t codePoint = 0;
    unsigned char lowestSecond = 0x80;
    unsigned char highestSecond = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuationCount = 1;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuationCount = 2;
        codePoint = lead & 0x0FU;
        lowestSecond = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        highestSecond = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuationCount = 3;
        codePoint = lead & 0x07U;
        lowestSecond = lead == 0xF0 ? 0x90 : 0x80;
        highestSecond = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return {};
    }
    for (std::size_t index = 1; index <= continuationCount; ++index) {
        if (position + index >= bytes.size()) {
            return { std::nullopt, index };
        }
        const auto unit = static_cast<unsigned char>(bytes[position + index]);
        const unsigned char lowest = index == 1 ? lowestSecond : 0x80;
        const unsigned char highest = index == 1 ? highestSecond : 0xBF;
        if (unit < lowest || unit > highest) {
            return { std::nullopt, index };
        }
        codePoint = (codePoint << 6) | (unit & 0x3FU);
    }
    return { codePoint, continuationCount + 1 };
}

// Where the run of ASCII bytes that starts at `position` ends. Object files are mostly ASCII, so
// many bytes are tested at a time.
std::size_t EndOfAscii(std::string_view bytes, std::size_t position)
{
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    // A whole file is checked: most of it plain ASCII, taken 64 bytes a step.
    constexpr std::size_t StepBytes = 64;
    for (; bytes.size() - position >= StepBytes; position += StepBytes) {
        const auto* step = reinterpret_cast<const __m128i*>(bytes.data() + position);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(step), _mm_loadu_si128(step + 1)),
            _mm_or_si128(_mm_loadu_si128(step + 2), _mm_loadu_si128(step + 3)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
    }
#endif
    for (; position + WordBytes <= bytes.size(); position += WordBytes) {
        if (const std::uint64_t high = LoadWord(bytes, position) & HighBits) {
            return position + FirstMarked(high);
        }
    }
    while (position < bytes.size() && static_cast<unsigned char>(bytes[position]) < 0x80) {
        ++position;
    }
    return position;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t position = EndOfAscii(bytes, 0); position < bytes.size();
         position = EndOfAscii(bytes, position)) {
        const Utf8Step step = DecodeUtf8At(bytes, position);
        if (!step.codePoint) {
            return false;
        }
        position += step.length;
    }
    return true;
}

void AppendUtf16(std::u16string& text, char32_t codePoint)
{
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

// Writes the code point's UTF-8 at `out`; returns where it ends.
char* WriteUtf8(char* out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | (codePoint >> 6));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (codePoint >> 12));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (codePoint >> 18));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

void AppendUtf8(std::string& bytes, char32_t codePoint)
{
    // Room for the longest form, given back at once.
    const std::size_t written = bytes.size();
    bytes.resize(written + 4);
    bytes.resize(static_cast<std::size_t>(WriteUtf8(bytes.data() + written, codePoint) - bytes.data()));
}

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves undefined stand for themselves.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

void AppendWindows1252(std::u16string& text, std::string_view bytes)
{
    for (const char byte : bytes) {
        const auto unit = static_cast<unsigned char>(byte);
        text.push_back(unit >= 0x80 && unit <= 0x9F ? Windows1252High[unit - 0x80] : char16_t { unit });
    }
}

void AppendUtf8(std::u16string& text, std::string_view bytes)
{
    for (std::size_t position = 0; position < bytes.size();) {
        const std::size_t asciiEnd = EndOfAscii(bytes, position);
        const std::size_t written = text.size();
        text.resize(written + (asciiEnd - position));
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(position),
            bytes.begin() + static_cast<std::ptrdiff_t>(asciiEnd),
            text.begin() + static_cast<std::ptrdiff_t>(written));
        position = asciiEnd;
        if (position == bytes.size()) {
            break;
        }
        const Utf8Step step = DecodeUtf8At(bytes, position);
        AppendUtf16(text, step.codePoint.value_or(ReplacementCharacter));
        position += step.length;
    }
}

} // namespace

ObjectFileText DetectObjectFileEncoding(std::string_view bytes)
{
    if (bytes.starts_with(ByteOrderMark)) {
        return { bytes.substr(ByteOrderMark.size()), ObjectFileText::Encoding::Utf8 };
    }
    return { bytes,
        IsValidUtf8(bytes) ? ObjectFileText::Encoding::Utf8 : ObjectFileText::Encoding::Windows1252 };
}

std::string_view WithoutByteOrderMark(std::string_view bytes)
{
    return bytes.starts_with(ByteOrderMark) ? bytes.substr(ByteOrderMark.size()) : bytes;
}

void AppendDecoded(std::u16string& text, std::string_view bytes, ObjectFileText::Encoding encoding)
{
    if (encoding == ObjectFileText::Encoding::Utf8) {
        AppendUtf8(text, bytes);
    } else {
        AppendWindows1252(text, bytes);
    }
}

std::string WithUtf16AsUtf8(std::string bytes)
{
    if (!bytes.starts_with(LittleEndianMark) && !bytes.starts_with(BigEndianMark)) {
        return bytes;
    }
    ObjectFileBytes file;
    std::string text(ByteOrderMark);
    text += file.add(bytes);
    text += file.finish();
    return text;
}

bool Utf8Check::add(std::string_view piece)
{
    if (!m_Valid) {
        return false;
    }
    if (!m_Open.empty()) {
        // A sequence is at most four bytes: what it still lacks comes first in this piece.
        const std::string joined = m_Open + std::string(piece.substr(0, 3));
        const Utf8Step step = DecodeUtf8At(joined, 0);
        if (!step.codePoint) {
            m_Valid = step.length >= joined.size();
            m_Open = joined;
            return m_Valid;
        }
        piece.remove_prefix(step.length - m_Open.size());
        m_Open.clear();
    }
    for (std::size_t position = EndOfAscii(piece, 0); position < piece.size();
         position = EndOfAscii(piece, position)) {
        const Utf8Step step = DecodeUtf8At(piece, position);
        if (!step.codePoint) {
            // Running out of bytes leaves the sequence open for the next piece.
            m_Valid = position + step.length >= piece.size();
            m_Open = piece.substr(position);
            return m_Valid;
        }
        position += step.length;
    }
    return true;
}

std::string_view ObjectFileBytes::add(std::string_view piece)
{
    if (m_Mark != Mark::NotYetSeen) {
        return decode(piece);
    }
    m_Start += piece;
    if (m_Start.size() < ByteOrderMark.size() && !m_Start.starts_with(LittleEndianMark)
        && !m_Start.starts_with(BigEndianMark)) {
        return {};
    }
    std::string start = std::exchange(m_Start, {});
    std::string_view text = start;
    if (text.starts_with(ByteOrderMark)) {
        m_Mark = Mark::Utf8;
        text.remove_prefix(ByteOrderMark.size());
    } else if (text.starts_with(LittleEndianMark)) {
        m_Mark = Mark::Utf16LittleEndian;
        text.remove_prefix(LittleEndianMark.size());
    } else if (text.starts_with(BigEndianMark)) {
        m_Mark = Mark::Utf16BigEndian;
        text.remove_prefix(BigEndianMark.size());
    } else {
        m_Mark = Mark::None;
    }
    if (m_Mark == Mark::Utf16LittleEndian || m_Mark == Mark::Utf16BigEndian) {
        return decode(text);
    }
    m_Text.assign(text);
    return m_Text;
}

std::string_view ObjectFileBytes::finish()
{
    if (m_Mark == Mark::NotYetSeen) {
        m_Mark = Mark::None;
        m_Text = std::exchange(m_Start, {});
        return m_Text;
    }
    m_Text.clear();
    if (m_HighSurrogate != 0 || !m_OddByte.empty()) {
        AppendUtf8(m_Text, ReplacementCharacter);
    }
    m_HighSurrogate = 0;
    m_OddByte.clear();
    return m_Text;
}

std::string_view ObjectFileBytes::decode(std::string_view bytes)
{
    if (m_Mark != Mark::Utf16LittleEndian && m_Mark != Mark::Utf16BigEndian) {
        return bytes;
    }
    const bool littleEndian = m_Mark == Mark::Utf16LittleEndian;
    m_Text.clear();
    const auto unitAt = [littleEndian](unsigned char first, unsigned char second) {
        return static_cast<char16_t>(littleEndian ? first | (second << 8U) : (first << 8U) | second);
    };
    const auto addUnit = [this](char16_t unit) {
        if (m_HighSurrogate != 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                AppendUtf8(m_Text, 0x10000U + ((m_HighSurrogate - 0xD800U) << 10U) + (unit - 0xDC00U));
                m_HighSurrogate = 0;
                return;
            }
            AppendUtf8(m_Text, ReplacementCharacter);
            m_HighSurrogate = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            m_HighSurrogate = unit;
        } else {
            AppendUtf8(m_Text, unit >= 0xDC00 && unit <= 0xDFFF ? ReplacementCharacter : char32_t { unit });
        }
    };
    if (!m_OddByte.empty() && !bytes.empty()) {
        addUnit(unitAt(static_cast<unsigned char>(m_OddByte[0]), static_cast<unsigned char>(bytes[0])));
        m_OddByte.clear();
        bytes.remove_prefix(1);
    }
    for (std::size_t position = 0; position + 1 < bytes.size(); position += 2) {
        addUnit(unitAt(
            static_cast<unsigned char>(bytes[position]), static_cast<unsigned char>(bytes[position + 1])));
    }
    if (bytes.size() % 2 != 0) {
        m_OddByte.assign(1, bytes.back());
    }
    return m_Text;
}

std::u16string DecodeObjectFile(std::string_view bytes)
{
    const ObjectFileText file = DetectObjectFileEncoding(bytes);
    std::u16string text;
    text.reserve(file.bytes.size());
    AppendDecoded(text, file.bytes, file.encoding);
    return text;
}

std::string ToUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    AppendAsUtf8(bytes, text);
    return bytes;
}

void AppendAsUtf8(std::string& bytes, std::u16string_view text)
{
    const std::size_t written = bytes.size();
    // Object files are mostly ASCII: a text of ASCII only is narrowed in one pass, both passes
    // without a branch per unit.
    unsigned allUnits = 0;
    for (const char16_t unit : text) {
        allUnits |= unit;
    }
    if (allUnits < 0x80) {
        bytes.resize(written + text.size());
        std::transform(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(written),
            [](char16_t unit) { return static_cast<char>(unit); });
        return;
    }
    // Room for the longest form, three bytes a unit, given back at the end.
    bytes.resize(written + text.size() * 3);
    char* out = bytes.data() + written;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char16_t unit = text[index];
        if (unit < 0x80) {
            *out++ = static_cast<char>(unit);
            continue;
        }
        char32_t codePoint = unit;
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            const bool pairs = unit <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00
                && text[index + 1] <= 0xDFFF;
            if (pairs) {
                const char32_t high = unit - 0xD800U;
                const char32_t low = text[++index] - 0xDC00U;
                codePoint = 0x10000U + (high << 10U) + low;
            } else {
                codePoint = ReplacementCharacter;
            }
        }
        out = WriteUtf8(out, codePoint);
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
}

std::u16string FromUtf8(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    AppendUtf8(text, bytes);
    return text;
}

} // namespace vestrak
