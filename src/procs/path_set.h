#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vestrak {

// Full paths of tree nodes ("Plant\Area\Pump"), looked up during a walk down the tree in node
// order. The hash of a node's path extends the hash of its parent's path by "\" and the node's
// own text, so a walk hashes each text once instead of each whole path.
class PathSet {
public:
    // The hash of a top node's path, or of a child's path from its parent's path hash.
    [[nodiscard]] static std::uint64_t TopPathHash(std::u16string_view text);
    [[nodiscard]] static std::uint64_t ChildPathHash(std::uint64_t parentPathHash, std::u16string_view text);

    // Room for that many paths at once, so that filling the set moves no slot.
    void reserve(std::size_t paths);
    void insert(std::u16string_view path);
    // pathHash must be the hash of path.
    [[nodiscard]] bool contains(std::uint64_t pathHash, std::u16string_view path) const;
    // Whether a path with that hash may be in the set: when not, no path needs to be put together.
    // When it may, its slot is asked of memory, so that contains, asked after other work, waits
    // less: in a large set the slot is seldom in the cache.
    [[nodiscard]] bool mayContain(std::uint64_t pathHash) const;
    [[nodiscard]] bool empty() const { return m_Count == 0; }

private:
    // A path's hash and place among the texts: a look-up reads the slot and then the text.
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t start = 0;
        // The path's length plus one; 0 for an empty slot.
        std::uint32_t lengthAfter = 0;
    };

    [[nodiscard]] std::size_t mask() const { return m_Slots.size() - 1; }
    [[nodiscard]] std::u16string_view path(const Slot& slot) const
    {
        return std::u16string_view(m_Texts).substr(slot.start, slot.lengthAfter - 1);
    }
    void growTo(std::size_t slots);
    // The word of the filter a hash points to, and its two bits there.
    struct FilterMark {
        std::size_t word = 0;
        std::uint64_t bits = 0;
    };
    [[nodiscard]] FilterMark filterMark(std::uint64_t pathHash) const;
    void markInFilter(std::uint64_t pathHash);

    // The paths side by side: a plant stores a hundred thousand open branches.
    std::u16string m_Texts;
    std::size_t m_Count = 0;
    std::vector<Slot> m_Slots;
    // Two bits per path, set where its hash points, among 8 to 16 bits per path: a walk asks of
    // every node whether its path may be in the set, and this answers most of them from a table
    // thirty-two times smaller than the slots, which stays in the cache. A path's two bits lie in
    // one word, so that an answer reads the table once.
    std::vector<std::uint64_t> m_Filter;
};

} // namespace vestrak
