#include "procs/path_set.h"

#include <utility>

namespace vestrak {

namespace {

// A polynomial hash: hash * Base + unit for each unit in turn, which extends across pieces of a
// path the same as over the whole path. Four units are taken per step, with their powers of
// Base, so that a step waits for one multiplication instead of four.
constexpr std::uint64_t EmptyPathHash = 0x6A09E667F3BCC909ULL;
constexpr std::uint64_t Base = 0x100000001B3ULL;
constexpr std::uint64_t Base2 = Base * Base;
constexpr std::uint64_t Base3 = Base2 * Base;
constexpr std::uint64_t Base4 = Base3 * Base;

std::uint64_t Extended(std::uint64_t hash, std::u16string_view text)
{
    std::size_t position = 0;
    for (; text.size() - position >= 4; position += 4) {
        hash = hash * Base4 + text[position] * Base3 + text[position + 1] * Base2 + text[position + 2] * Base
            + text[position + 3];
    }
    for (; position < text.size(); ++position) {
        hash = hash * Base + text[position];
    }
    return hash;
}

// The low bits of a polynomial hash depend on few units: the slot is taken from all of them.
std::size_t FirstSlot(std::uint64_t hash, std::size_t mask)
{
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return static_cast<std::size_t>(hash) & mask;
}

} // namespace

std::uint64_t PathSet::TopPathHash(std::u16string_view text)
{
    return Extended(EmptyPathHash, text);
}

std::uint64_t PathSet::ChildPathHash(std::uint64_t parentPathHash, std::u16string_view text)
{
    return Extended(Extended(parentPathHash, u"\\"), text);
}

void PathSet::insert(std::u16string path)
{
    const std::uint64_t hash = TopPathHash(path);
    if (contains(hash, path)) {
        return;
    }
    // At most half the slots taken, so that a search ends at an empty slot soon.
    if ((m_Paths.size() + 1) * 2 > m_Slots.size()) {
        grow();
    }
    std::size_t slot = FirstSlot(hash, mask());
    while (m_Slots[slot].pathAfter != 0) {
        slot = (slot + 1) & mask();
    }
    m_Paths.push_back(std::move(path));
    m_Slots[slot] = { hash, static_cast<std::uint32_t>(m_Paths.size()) };
}

bool PathSet::contains(std::uint64_t pathHash, std::u16string_view path) const
{
    if (m_Slots.empty()) {
        return false;
    }
    for (std::size_t slot = FirstSlot(pathHash, mask());; slot = (slot + 1) & mask()) {
        const Slot& each = m_Slots[slot];
        if (each.pathAfter == 0) {
            return false;
        }
        if (each.hash == pathHash && m_Paths[each.pathAfter - 1] == path) {
            return true;
        }
    }
}

void PathSet::grow()
{
    std::vector<Slot> old(m_Slots.empty() ? 16 : m_Slots.size() * 2);
    old.swap(m_Slots);
    for (const Slot& each : old) {
        if (each.pathAfter != 0) {
            std::size_t slot = FirstSlot(each.hash, mask());
            while (m_Slots[slot].pathAfter != 0) {
                slot = (slot + 1) & mask();
            }
            m_Slots[slot] = each;
        }
    }
}

} // namespace vestrak
