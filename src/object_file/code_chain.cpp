#include "object_file/code_chain.h"

#include "text/encoding.h"
#include "text/text.h"

#include <type_traits>
#include <utility>

namespace vestrak {

namespace {

// Codes longer than this are indexed: reading a shorter one costs no more than asking an index.
constexpr std::size_t LongestCodeReadAsItStands = 64;

} // namespace

template<typename Char> std::size_t BasicCodeChain<Char>::linksKeptFor(Code code) const
{
    std::size_t indexed = m_Indexed.size();
    // A UTF-8 code is decoded once, for the first index asked.
    std::u16string decoded;
    bool isDecoded = false;
    for (std::size_t link = m_Starts.size(); link > 0; --link) {
        const Code list = codeOf(link - 1);
        const bool isIndexed = indexed > 0 && m_Indexed[indexed - 1].link == link - 1;
        bool starts = false;
        if (!isIndexed) {
            starts = IsInPrefixList(list, code);
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
    if (links >= m_Starts.size()) {
        return;
    }
    m_Codes.resize(m_Starts[links]);
    m_Starts.resize(links);
    while (!m_Indexed.empty() && m_Indexed.back().link >= links) {
        m_Indexed.pop_back();
    }
}

template<typename Char> void BasicCodeChain<Char>::add(Code code)
{
    if (code.size() > LongestCodeReadAsItStands) {
        if constexpr (std::is_same_v<Char, char16_t>) {
            m_Indexed.push_back({ m_Starts.size(), PrefixListIndex(code), {} });
        } else {
            std::u16string decoded = FromUtf8(code);
            PrefixListIndex index(decoded);
            m_Indexed.push_back({ m_Starts.size(), std::move(index), std::move(decoded) });
        }
    }
    m_Starts.push_back(m_Codes.size());
    m_Codes += code;
}

template<typename Char> void BasicCodeChain<Char>::clear()
{
    m_Codes.clear();
    m_Starts.clear();
    m_Indexed.clear();
}

template<typename Char> auto BasicCodeChain<Char>::codeOf(std::size_t link) const -> Code
{
    const std::size_t end = link + 1 < m_Starts.size() ? m_Starts[link + 1] : m_Codes.size();
    return Code(m_Codes).substr(m_Starts[link], end - m_Starts[link]);
}

template class BasicCodeChain<char16_t>;
template class BasicCodeChain<char>;

} // namespace vestrak
