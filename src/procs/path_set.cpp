#include "procs/path_set.h"

#include "procs/text_hash.h"

#include <utility>

namespace vestrak {

namespace {

std::size_t FirstSlot(std::uint64_t hash, std::size_t mask)
{
    return static_cast<std::size_t>(MixedHashBits(hash)) & mask;
}

} // namespace

std::uint64_t PathSet::TopPathHash(std::u16string_view text)
{
    return ExtendedTextHash(EmptyTextHash, text);
}

std::uint64_t PathSet::ChildPathHash(std::uint64_t parentPathHash, std::u16string_view text)
{
    return ExtendedTextHash(ExtendedTextHash(parentPathHash, u'\\'), text);
}

void PathSet::insert(std::u16string_view path)
{
    const std::uint64_t hash = TopPathHash(path);
    if (contains(hash, path)) {
        return;
    }
    // At most half the slots taken, so that a search ends at an empty slot soon.
    if ((m_PathEnds.size() + 1) * 2 > m_Slots.size()) {
        grow();
    }
    std::size_t slot = FirstSlot(hash, mask());
    while (m_Slots[slot].pathAfter != 0) {
        slot = (slot + 1) & mask();
    }
    m_Texts.append(path);
    m_PathEnds.push_back(m_Texts.size());
    m_Slots[slot] = { hash, static_cast<std::uint32_t>(m_PathEnds.size()) };
    markInFilter(hash);
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
        if (each.hash == pathHash && this->path(each.pathAfter - 1) == path) {
            return true;
        }
    }
}

bool PathSet::mayContain(std::uint64_t pathHash) const
{
    if (m_Slots.empty()) {
        return false;
    }
    const auto [first, second] = filterBits(pathHash);
    if ((m_Filter[first / 64] >> (first % 64) & m_Filter[second / 64] >> (second % 64) & 1) == 0) {
        return false;
    }
    for (std::size_t slot = FirstSlot(pathHash, mask());; slot = (slot + 1) & mask()) {
        if (m_Slots[slot].pathAfter == 0) {
            return false;
        }
        if (m_Slots[slot].hash == pathHash) {
            return true;
        }
    }
}

void PathSet::grow()
{
    std::vector<Slot> old(m_Slots.empty() ? 16 : m_Slots.size() * 2);
    old.swap(m_Slots);
    // A quarter to a half of the slots are taken: 4 bits of filter per slot are 8 to 16 per path.
    m_Filter.assign(m_Slots.size() / 16, 0);
    for (const Slot& each : old) {
        if (each.pathAfter != 0) {
            std::size_t slot = FirstSlot(each.hash, mask());
            while (m_Slots[slot].pathAfter != 0) {
                slot = (slot + 1) & mask();
            }
            m_Slots[slot] = each;
            markInFilter(each.hash);
        }
    }
}

// Two places in the filter from bits of the mixed hash that the slot does not use.
std::pair<std::size_t, std::size_t> PathSet::filterBits(std::uint64_t pathHash) const
{
    const std::uint64_t mixed = MixedHashBits(pathHash * TextHashBase);
    const std::size_t bits = m_Filter.size() * 64;
    return { static_cast<std::size_t>(mixed) & (bits - 1),
        static_cast<std::size_t>(mixed >> 32) & (bits - 1) };
}

void PathSet::markInFilter(std::uint64_t pathHash)
{
    const auto [first, second] = filterBits(pathHash);
    m_Filter[first / 64] |= std::uint64_t { 1 } << (first % 64);
    m_Filter[second / 64] |= std::uint64_t { 1 } << (second % 64);
}

} // namespace vestrak
