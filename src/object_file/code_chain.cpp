#include "object_file/code_chain.h"

#include "text/byte_words.h"
#include "text/encoding.h"
#include "text/text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace vestrak {

namespace {

// Codes longer than this are indexed: reading a shorter one costs no more than asking an index.
constexpr std::size_t LongestCodeReadAsItStands = 64;

template<typename Char> bool IsAscii(Char unit)
{
    return static_cast<std::make_unsigned_t<Char>>(unit) < 0x80;
}

// A code that is one prefix of ASCII characters: nearly every code of a plant.
template<typename Char> bool IsAsciiItem(std::basic_string_view<Char> code)
{
    if constexpr (sizeof(Char) == 1) {
        if (code.size() >= WordBytes) {
            // Eight bytes at a time, the last word overlapping the one before: a byte beyond
            // ASCII or a comma marks its high bit.
            std::uint64_t marks = 0;
            const auto mark = [&marks](std::uint64_t word) { marks |= word | MarksOf(word, ','); };
            for (std::size_t position = 0; code.size() - position > WordBytes; position += WordBytes) {
                mark(LoadWord(code, position));
            }
            mark(LoadWord(code, code.size() - WordBytes));
            return (marks & HighBits) == 0;
        }
    }
    return !code.empty() && std::all_of(code.begin(), code.end(), [](Char unit) {
        return IsAscii(unit) && unit != Char(',');
    });
}

// What SharedAsciiStart answers when two codes differ first by a character beyond ASCII. A plain
// number, not an optional: the optional came back through memory, a byte written and eight read,
// which stalled every line's parent search.
constexpr std::size_t DifferBeyondAscii = SIZE_MAX;

// How many units the ASCII code and another code share from their start, case ignored, from
// their units as they stand: no call, decoding or list reading. DifferBeyondAscii when they differ
// first by a character beyond ASCII, which may be the same letter in another case.
template<typename Char>
std::size_t SharedAsciiStart(std::basic_string_view<Char> ascii, std::basic_string_view<Char> code)
{
    const std::size_t length = std::min(ascii.size(), code.size());
    std::size_t position = 0;
    if constexpr (sizeof(Char) == 1) {
        // Eight bytes at a time up to the first that differs, the last word overlapping the one
        // before: the codes of one branch share their start, written alike.
        while (length >= WordBytes && position < length) {
            position = std::min(position, length - WordBytes);
            if (const std::uint64_t differing = LoadWord(ascii, position) ^ LoadWord(code, position)) {
                position += static_cast<std::size_t>(std::countr_zero(differing)) / 8;
                break;
            }
            position += WordBytes;
        }
    }
    for (; position < length; ++position) {
        if (ascii[position] == code[position]) {
            continue;
        }
        if (!IsAscii(code[position])) {
            return DifferBeyondAscii;
        }
        if (!SameAsciiLetterIgnoringCase(ascii[position], code[position])) {
            break;
        }
    }
    return position;
}

enum class ItemAnswer { No, Yes, AskGeneralRoutine };

// Whether the code starts with an ASCII item, case ignored. Only a code that differs from the item
// by a character beyond ASCII is left to the general routine.
template<typename Char>
ItemAnswer StartsWithAsciiItem(std::basic_string_view<Char> item, std::basic_string_view<Char> code)
{
    // The item's characters are its units; the code has no more characters than units.
    if (item.size() > code.size()) {
        return ItemAnswer::No;
    }
    const std::size_t shared = SharedAsciiStart(item, code);
    if (shared == DifferBeyondAscii) {
        return ItemAnswer::AskGeneralRoutine;
    }
    return shared == item.size() ? ItemAnswer::Yes : ItemAnswer::No;
}

} // namespace

template<typename Char> std::size_t BasicCodeChain<Char>::linksKeptFor(Code code) const
{
    // While every link is a single ASCII prefix, each is a prefix of the last one's code, longer
    // the further down: the links that start the new code are those no longer than what it shares
    // with the last code, which is compared once.
    if (!m_Links.empty() && m_Links.back().isAsciiItemFromTop) {
        if (const std::size_t shared = SharedAsciiStart(codeOf(m_Links.size() - 1), code);
            shared != DifferBeyondAscii) {
            std::size_t end = m_Codes.size();
            for (std::size_t link = m_Links.size(); link > 0; --link) {
                const std::size_t start = m_Links[link - 1].start;
                if (end - start <= shared) {
                    return link;
                }
                end = start;
            }
            return 0;
        }
    }
    std::size_t indexed = m_Indexed.size();
    // A UTF-8 code is decoded once, for the first index asked.
    std::u16string decoded;
    bool isDecoded = false;
    for (std::size_t link = m_Links.size(); link > 0; --link) {
        const Code list = codeOf(link - 1);
        const bool isIndexed = indexed > 0 && m_Indexed[indexed - 1].link == link - 1;
        bool starts = false;
        if (!isIndexed) {
            const ItemAnswer answer = m_Links[link - 1].isAsciiItem ? StartsWithAsciiItem(list, code)
                                                                    : ItemAnswer::AskGeneralRoutine;
            starts = answer == ItemAnswer::AskGeneralRoutine ? IsInPrefixList(list, code)
                                                             : answer == ItemAnswer::Yes;
        } else if constexpr (std::is_same_v<Char, char16_t>) {
            starts = m_Indexed[--indexed].index.startsWithItem(list, code);
        } else {
            if (!std::exchange(isDecoded, true)) {
                decoded = FromUtf8(code);
            }
            const IndexedLink& indexedLink = m_Indexed[--indexed];
            starts = indexedLink.index.startsWithItem(indexedLink.decoded, decoded);
        }
        if (starts) {
            return link;
        }
    }
    return 0;
}

template<typename Char> void BasicCodeChain<Char>::cutTo(std::size_t links)
{
    if (links >= m_Links.size()) {
        return;
    }
    m_Codes.resize(m_Links[links].start);
    m_Links.resize(links);
    while (!m_Indexed.empty() && m_Indexed.back().link >= links) {
        m_Indexed.pop_back();
    }
}

template<typename Char> void BasicCodeChain<Char>::add(Code code)
{
    const bool isLong = code.size() > LongestCodeReadAsItStands;
    if (isLong) {
        if constexpr (std::is_same_v<Char, char16_t>) {
            m_Indexed.push_back({ m_Links.size(), PrefixListIndex(code), {} });
        } else {
            std::u16string decoded = FromUtf8(code);
            PrefixListIndex index(decoded);
            m_Indexed.push_back({ m_Links.size(), std::move(index), std::move(decoded) });
        }
    }
    const bool isAsciiItem = !isLong && IsAsciiItem(code);
    const bool aboveAreAsciiItems = m_Links.empty() || m_Links.back().isAsciiItemFromTop;
    m_Links.push_back({ m_Codes.size(), isAsciiItem, isAsciiItem && aboveAreAsciiItems });
    m_Codes += code;
}

template<typename Char> void BasicCodeChain<Char>::clear()
{
    m_Codes.clear();
    m_Links.clear();
    m_Indexed.clear();
}

template<typename Char> auto BasicCodeChain<Char>::codeOf(std::size_t link) const -> Code
{
    const std::size_t start = m_Links[link].start;
    const std::size_t end = link + 1 < m_Links.size() ? m_Links[link + 1].start : m_Codes.size();
    return Code(m_Codes).substr(start, end - start);
}

template class BasicCodeChain<char16_t>;
template class BasicCodeChain<char>;

} // namespace vestrak
