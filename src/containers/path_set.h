#pragma once

#include <cstdint>
#include <functional>
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
    // pathHash must be the hash of path.
    [[nodiscard]] bool contains(std::uint64_t pathHash, std::u16string_view path) const;
    // Whether a path with that hash may be in the set: when not, no path needs to be put together.
    // When it may, its slot is asked of memory, so that contains, asked after other work, waits
    // less: in a large set the slot is seldom in the cache.
    [[nodiscard]] bool mayContain(std::uint64_t pathHash) const;
    [[nodiscard]] bool empty() const { return m_Count == 0; }

    // Paths to look up together: a walk adds those mayContain lets through and asks of them all
    // when the batch is full.
    class Batch {
    public:
        static constexpr std::size_t Size = 16;

        // pathHash must be the hash of path.
        void add(std::uint64_t pathHash, std::u16string_view path);
        [[nodiscard]] std::size_t size() const { return m_Hashes.size(); }
        [[nodiscard]] bool full() const { return size() >= Size; }
        void clear();

    private:
        friend class PathSet;
        [[nodiscard]] std::u16string_view path(std::size_t index) const;

        std::vector<std::uint64_t> m_Hashes;
        std::vector<std::size_t> m_Ends;
        std::u16string m_Texts;
    };
    // Whether the set holds each path of the batch, the n-th answer for the n-th path. The slots
    // of sixteen paths are read before any of their texts: in a large set slot and text are each
    // seldom in the cache, and memory asked for those of sixteen paths at once answers about as
    // soon as for one.
    void containsEach(const Batch& batch, std::vector<bool>& answers) const;
    // Puts in every path that give(put) hands to put(path), sixteen at a time: the slots and
    // filter words of sixteen paths are asked of memory before the first is written. A plant
    // stores a hundred thousand open branches, and their slots then lie in more memory than the
    // cache holds.
    template<typename Give> void insertAll(Give give)
    {
        Batch batch;
        give([this, &batch](std::u16string_view path) {
            batch.add(TopPathHash(path), path);
            if (batch.full()) {
                insertEach(batch);
                batch.clear();
            }
        });
        insertEach(batch);
    }

private:
    // A path's hash and place among the texts: a look-up reads the slot and then the text.
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t start = 0;
        // The path's length plus one; 0 for an empty slot.
        std::uint32_t lengthAfter = 0;
    };

    static constexpr std::size_t NoSlot = SIZE_MAX;

    [[nodiscard]] std::size_t mask() const { return m_Slots.size() - 1; }
    // pathHash must be the hash of path.
    void insertHashed(std::uint64_t pathHash, std::u16string_view path);
    void insertEach(const Batch& batch);
    // The first slot from that one on whose hash is pathHash, or NoSlot.
    [[nodiscard]] std::size_t slotWithHash(std::uint64_t pathHash, std::size_t from) const;
    // Whether path is at that slot or a later one of its search.
    [[nodiscard]] bool holds(std::size_t slot, std::uint64_t pathHash, std::u16string_view path) const;
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

// Items of a walk (its nodes) whose paths mayContain lets through, asked of the set a batch at a
// time; found gets each item whose path the set holds. A walk answers what it has gathered before
// it acts on what depends on the answers, and once more at its end.
template<typename Item> class PathSetQueries {
public:
    PathSetQueries(const PathSet& set, std::function<void(const Item&)> found)
        : m_Set(set)
        , m_Found(std::move(found))
    {
    }

    // pathHash must be the hash of path.
    void add(std::uint64_t pathHash, std::u16string_view path, Item item)
    {
        m_Paths.add(pathHash, path);
        m_Items.push_back(std::move(item));
        if (m_Paths.full()) {
            answer();
        }
    }

    void answer()
    {
        m_Set.containsEach(m_Paths, m_Answers);
        for (std::size_t index = 0; index < m_Items.size(); ++index) {
            if (m_Answers[index]) {
                m_Found(m_Items[index]);
            }
        }
        m_Paths.clear();
        m_Items.clear();
    }

private:
    const PathSet& m_Set;
    std::function<void(const Item&)> m_Found;
    PathSet::Batch m_Paths;
    std::vector<Item> m_Items;
    std::vector<bool> m_Answers;
};

} // namespace vestrak
