#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vestrak {

// IsInPrefixList for one list asked about many texts, the list read once: its items are kept as
// hashes of their upper-cased units, by length, so a question costs the text's length (or the
// longest item's, when shorter), however many items the list holds. The list itself is not kept:
// each question gives it again, as it was when the index was made, wherever it lies by then.
class PrefixListIndex {
public:
    explicit PrefixListIndex(std::u16string_view list);

    [[nodiscard]] bool startsWithItem(std::u16string_view list, std::u16string_view text) const;

private:
    struct Item {
        std::uint64_t hash = 0;
        std::size_t start = 0;
        std::size_t length = 0;
    };

    // Each item once, ordered by hash.
    std::vector<Item> m_Items;
    // The lengths the items have, shortest first.
    std::vector<std::size_t> m_Lengths;
};

} // namespace vestrak
