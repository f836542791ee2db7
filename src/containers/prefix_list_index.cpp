#include "containers/prefix_list_index.h"

#include "text/text.h"

#include <algorithm>

namespace vestrak {

namespace {

// FNV-1a over the upper-cased units, so that the hash of a text's start grows unit by unit.
constexpr std::uint64_t HashStart = 0xCBF29CE484222325U;
constexpr std::uint64_t HashFactor = 0x100000001B3U;

std::uint64_t HashStep(std::uint64_t hash, char16_t unit)
{
    return (hash ^ ToUpper(unit)) * HashFactor;
}

// Items are compared ignoring case, as IsInPrefixList compares them.
int CompareUpper(std::u16string_view one, std::u16string_view other)
{
    for (std::size_t index = 0; index < one.size() && index < other.size(); ++index) {
        const char16_t first = ToUpper(one[index]);
        const char16_t second = ToUpper(other[index]);
        if (first != second) {
            return first < second ? -1 : 1;
        }
    }
    return one.size() == other.size() ? 0 : (one.size() < other.size() ? -1 : 1);
}

} // namespace

PrefixListIndex::PrefixListIndex(std::u16string_view list)
{
    // The first empty item ends the list.
    for (std::size_t start = 0; start < list.size() && list[start] != u',';) {
        const std::size_t comma = FindUnit(list, u',', start);
        const std::size_t end = comma == std::u16string_view::npos ? list.size() : comma;
        std::uint64_t hash = HashStart;
        for (std::size_t position = start; position < end; ++position) {
            hash = HashStep(hash, list[position]);
        }
        m_Items.push_back({ hash, start, end - start });
        m_Lengths.push_back(end - start);
        if (comma == std::u16string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    const auto itemText = [list](const Item& item) { return list.substr(item.start, item.length); };
    std::sort(m_Items.begin(), m_Items.end(), [&itemText](const Item& one, const Item& other) {
        if (one.hash != other.hash) {
            return one.hash < other.hash;
        }
        return CompareUpper(itemText(one), itemText(other)) < 0;
    });
    m_Items.erase(std::unique(m_Items.begin(), m_Items.end(),
                      [&itemText](const Item& one, const Item& other) {
                          return one.hash == other.hash && CompareUpper(itemText(one), itemText(other)) == 0;
                      }),
        m_Items.end());
    std::sort(m_Lengths.begin(), m_Lengths.end());
    m_Lengths.erase(std::unique(m_Lengths.begin(), m_Lengths.end()), m_Lengths.end());
}

bool PrefixListIndex::startsWithItem(std::u16string_view list, std::u16string_view text) const
{
    std::uint64_t hash = HashStart;
    std::size_t hashed = 0;
    for (const std::size_t length : m_Lengths) {
        if (length > text.size()) {
            break;
        }
        for (; hashed < length; ++hashed) {
            hash = HashStep(hash, text[hashed]);
        }
        const auto first = std::lower_bound(m_Items.begin(), m_Items.end(), hash,
            [](const Item& item, std::uint64_t wanted) { return item.hash < wanted; });
        for (auto item = first; item != m_Items.end() && item->hash == hash; ++item) {
            if (item->length == length
                && CompareUpper(list.substr(item->start, length), text.substr(0, length)) == 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace vestrak
