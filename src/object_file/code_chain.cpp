#include "object_file/code_chain.h"

#include "text/text.h"

namespace vestrak {

namespace {

// Codes longer than this are indexed: reading a shorter one costs no more than asking an index.
constexpr std::size_t LongestCodeReadAsItStands = 64;

} // namespace

std::size_t CodeChain::linksKeptFor(std::u16string_view code) const
{
    std::size_t indexed = m_Indexed.size();
    for (std::size_t link = m_Starts.size(); link > 0; --link) {
        const std::u16string_view list = codeOf(link - 1);
        const bool isIndexed = indexed > 0 && m_Indexed[indexed - 1].link == link - 1;
        if (isIndexed ? m_Indexed[--indexed].index.startsWithItem(list, code) : IsInPrefixList(list, code)) {
            return link;
        }
    }
    return 0;
}

void CodeChain::cutTo(std::size_t links)
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

void CodeChain::add(std::u16string_view code)
{
    if (code.size() > LongestCodeReadAsItStands) {
        m_Indexed.push_back({ m_Starts.size(), PrefixListIndex(code) });
    }
    m_Starts.push_back(m_Codes.size());
    m_Codes += code;
}

void CodeChain::clear()
{
    m_Codes.clear();
    m_Starts.clear();
    m_Indexed.clear();
}

std::u16string_view CodeChain::codeOf(std::size_t link) const
{
    const std::size_t end = link + 1 < m_Starts.size() ? m_Starts[link + 1] : m_Codes.size();
    return std::u16string_view(m_Codes).substr(m_Starts[link], end - m_Starts[link]);
}

} // namespace vestrak
