#include "containers/path_set.h"

#include "text/text_hash.h"

#include <algorithm>
#include <array>
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

void PathSet::reserve(std::size_t paths)
{
    std::size_t slots = 16;
    while (paths * 2 > slots) {
        slots *= 2;
    }
    if (slots > m_Slots.size()) {
        growTo(slots);
    }
}

void PathSet::insertEach(const Batch& batch)
{
    reserve(m_Count + batch.size());
    for (std::size_t first = 0; first < batch.size(); first += Batch::Size) {
        const std::size_t end = std::min(batch.size(), first + Batch::Size);
        for (std::size_t index = first; index < end; ++index) {
            const std::uint64_t hash = batch.m_Hashes[index];
            __builtin_prefetch(&m_Slots[FirstSlot(hash, mask())]);
            __builtin_prefetch(&m_Filter[filterMark(hash).word]);
        }
        for (std::size_t index = first; index < end; ++index) {
            insertHashed(batch.m_Hashes[index], batch.path(index));
        }
    }
}

void PathSet::insertHashed(std::uint64_t pathHash, std::u16string_view path)
{
    // A slot holds where its text starts in 32 bits: paths beyond 4 G units of text in all are
    // not kept, which no settings store of open branches comes near.
    if (m_Texts.size() + path.size() >= UINT32_MAX || contains(pathHash, path)) {
        return;
    }
    // At most half the slots taken, so that a search ends at an empty slot soon.
    if ((m_Count + 1) * 2 > m_Slots.size()) {
        growTo(m_Slots.empty() ? 16 : m_Slots.size() * 2);
    }
    std::size_t slot = FirstSlot(pathHash, mask());
    while (m_Slots[slot].lengthAfter != 0) {
        slot = (slot + 1) & mask();
    }
    m_Slots[slot] = { pathHash, static_cast<std::uint32_t>(m_Texts.size()),
        static_cast<std::uint32_t>(path.size() + 1) };
    m_Texts.append(path);
    ++m_Count;
    markInFilter(pathHash);
}

bool PathSet::contains(std::uint64_t pathHash, std::u16string_view path) const
{
    return !m_Slots.empty() && holds(slotWithHash(pathHash, FirstSlot(pathHash, mask())), pathHash, path);
}

std::size_t PathSet::slotWithHash(std::uint64_t pathHash, std::size_t from) const
{
    for (std::size_t slot = from;; slot = (slot + 1) & mask()) {
        const Slot& each = m_Slots[slot];
        if (each.lengthAfter == 0) {
            return NoSlot;
        }
        if (each.hash == pathHash) {
            return slot;
        }
    }
}

bool PathSet::holds(std::size_t slot, std::uint64_t pathHash, std::u16string_view path) const
{
    for (; slot != NoSlot; slot = slotWithHash(pathHash, (slot + 1) & mask())) {
        if (this->path(m_Slots[slot]) == path) {
            return true;
        }
    }
    return false;
}

void PathSet::containsEach(const Batch& batch, std::vector<bool>& answers) const
{
    answers.assign(batch.size(), false);
    if (m_Slots.empty()) {
        return;
    }
    std::array<std::size_t, Batch::Size> slots {};
    for (std::size_t first = 0; first < batch.size(); first += Batch::Size) {
        const std::size_t end = std::min(batch.size(), first + Batch::Size);
        for (std::size_t index = first; index < end; ++index) {
            const std::uint64_t hash = batch.m_Hashes[index];
            const std::size_t slot = slotWithHash(hash, FirstSlot(hash, mask()));
            if (slot != NoSlot) {
                __builtin_prefetch(m_Texts.data() + m_Slots[slot].start);
            }
            slots[index - first] = slot;
        }
        for (std::size_t index = first; index < end; ++index) {
            answers[index] = holds(slots[index - first], batch.m_Hashes[index], batch.path(index));
        }
    }
}

bool PathSet::mayContain(std::uint64_t pathHash) const
{
    if (m_Slots.empty()) {
        return false;
    }
    const FilterMark mark = filterMark(pathHash);
    if ((m_Filter[mark.word] & mark.bits) != mark.bits) {
        return false;
    }
    __builtin_prefetch(&m_Slots[FirstSlot(pathHash, mask())]);
    return true;
}

void PathSet::growTo(std::size_t slots)
{
    std::vector<Slot> old(slots);
    old.swap(m_Slots);
    // A quarter to a half of the slots are taken: 4 bits of filter per slot are 8 to 16 per path.
    m_Filter.assign(m_Slots.size() / 16, 0);
    for (const Slot& each : old) {
        if (each.lengthAfter != 0) {
            std::size_t slot = FirstSlot(each.hash, mask());
            while (m_Slots[slot].lengthAfter != 0) {
                slot = (slot + 1) & mask();
            }
            m_Slots[slot] = each;
            markInFilter(each.hash);
        }
    }
}

// A word and two bits in it, from bits of the mixed hash that the slot does not use.
PathSet::FilterMark PathSet::filterMark(std::uint64_t pathHash) const
{
    const std::uint64_t mixed = MixedHashBits(pathHash * TextHashBase);
    const std::uint64_t one = 1;
    return { static_cast<std::size_t>(mixed) & (m_Filter.size() - 1),
        one << (mixed >> 52 & 63) | one << (mixed >> 58 & 63) };
}

void PathSet::markInFilter(std::uint64_t pathHash)
{
    const FilterMark mark = filterMark(pathHash);
    m_Filter[mark.word] |= mark.bits;
}

void PathSet::Batch::add(std::uint64_t pathHash, std::u16string_view path)
{
    m_Hashes.push_back(pathHash);
    m_Texts.append(path);
    m_Ends.push_back(m_Texts.size());
}

void PathSet::Batch::clear()
{
    m_Hashes.clear();
    m_Ends.clear();
    m_Texts.clear();
}

std::u16string_view PathSet::Batch::path(std::size_t index) const
{
    const std::size_t start = index == 0 ? 0 : m_Ends[index - 1];
    return std::u16string_view(m_Texts).substr(start, m_Ends[index] - start);
}

} // namespace vestrak
