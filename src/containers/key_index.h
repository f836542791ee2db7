#pragma once

#include "text/text_hash.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vestrak {

// Finds entries by key for a collection that keeps its entries, keys included, in a vector in
// order of addition. The index holds a hash and a position per entry in one open table, so filing
// an entry allocates nothing but the table's growth, and the keys are not copied. Positions move
// when entries leave the collection: the collection then files its entries again.
class KeyIndex {
public:
    // keyAt(position) gives the key of the entry at that position.
    template<typename KeyAt>
    [[nodiscard]] std::optional<std::size_t> find(std::u16string_view key, KeyAt keyAt) const
    {
        if (m_Slots.empty()) {
            return std::nullopt;
        }
        const std::uint32_t hash = hashOf(key);
        for (std::size_t slot = hash & mask();; slot = (slot + 1) & mask()) {
            const Slot& each = m_Slots[slot];
            if (each.positionAfter == 0) {
                return std::nullopt;
            }
            if (each.hash == hash && keyAt(each.positionAfter - 1) == key) {
                return each.positionAfter - 1;
            }
        }
    }

    // A key's hash, its slot asked of memory early: filing it after other work then waits less.
    struct Hashed {
        std::uint32_t hash = 0;
    };

    [[nodiscard]] Hashed prepare(std::u16string_view key) const
    {
        const Hashed hashed { hashOf(key) };
        if (!m_Slots.empty()) {
            __builtin_prefetch(&m_Slots[hashed.hash & mask()]);
        }
        return hashed;
    }

    // Files the entry at that position; false, filing nothing, when an entry has its key.
    template<typename KeyAt> bool insert(std::u16string_view key, std::size_t position, KeyAt keyAt)
    {
        return insert(Hashed { hashOf(key) }, key, position, keyAt);
    }

    template<typename KeyAt>
    bool insert(Hashed hashed, std::u16string_view key, std::size_t position, KeyAt keyAt)
    {
        // At most three slots in four taken, so that a search ends at an empty slot soon.
        if ((m_Count + 1) * 4 > m_Slots.size() * 3) {
            grow();
        }
        std::size_t slot = hashed.hash & mask();
        for (; m_Slots[slot].positionAfter != 0; slot = (slot + 1) & mask()) {
            if (m_Slots[slot].hash == hashed.hash && keyAt(m_Slots[slot].positionAfter - 1) == key) {
                return false;
            }
        }
        m_Slots[slot] = { hashed.hash, static_cast<std::uint32_t>(position + 1) };
        ++m_Count;
        return true;
    }

    // Empties the index and keeps its table for the next filling.
    void clear()
    {
        std::fill(m_Slots.begin(), m_Slots.end(), Slot {});
        m_Count = 0;
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        // The position plus one; 0 for an empty slot.
        std::uint32_t positionAfter = 0;
    };

    static std::uint32_t hashOf(std::u16string_view key)
    {
        return static_cast<std::uint32_t>(MixedHashBits(ExtendedTextHash(EmptyTextHash, key)));
    }

    [[nodiscard]] std::size_t mask() const { return m_Slots.size() - 1; }

    // Doubles the table (a power of two) and files the entries again by their hashes alone.
    void grow()
    {
        std::vector<Slot> old(m_Slots.empty() ? 16 : m_Slots.size() * 2);
        old.swap(m_Slots);
        for (const Slot& each : old) {
            if (each.positionAfter != 0) {
                std::size_t slot = each.hash & mask();
                while (m_Slots[slot].positionAfter != 0) {
                    slot = (slot + 1) & mask();
                }
                m_Slots[slot] = each;
            }
        }
    }

    std::vector<Slot> m_Slots;
    std::size_t m_Count = 0;
};

} // namespace vestrak
