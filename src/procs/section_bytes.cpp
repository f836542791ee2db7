#include "procs/section_bytes.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace vestrak {

namespace {

// Grows a block of trivially copyable items to hold at least wanted, by half again each time.
template<typename Block> void GrowTo(Block& block, std::size_t wanted, std::size_t& room)
{
    using Item = std::remove_reference_t<decltype(block[0])>;
    if (wanted <= room) {
        return;
    }
    const std::size_t newRoom = std::max({ wanted, room + room / 2, std::size_t { 4096 } });
    void* grown = std::realloc(block.get(), newRoom * sizeof(Item));
    if (!grown) {
        throw std::bad_alloc();
    }
    static_cast<void>(block.release());
    block.reset(static_cast<Item*>(grown));
    room = newRoom;
}

} // namespace

void SectionBytes::add(std::string_view line)
{
    for (std::size_t nul = line.find('\0'); nul != std::string_view::npos; nul = line.find('\0')) {
        addOne(line.substr(0, nul));
        line.remove_prefix(nul + 1);
    }
    addOne(line);
}

void SectionBytes::addOne(std::string_view line)
{
    GrowTo(m_Bytes, m_ByteCount + line.size(), m_ByteRoom);
    GrowTo(m_Starts, m_Lines + 2, m_StartRoom);
    std::copy(line.begin(), line.end(), m_Bytes.get() + m_ByteCount);
    m_Starts[m_Lines] = m_ByteCount;
    m_ByteCount += line.size();
    m_Starts[++m_Lines] = m_ByteCount;
}

} // namespace vestrak
