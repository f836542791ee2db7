#include "containers/huge_page_arena.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace vestrak {

namespace {

std::uintptr_t RoundUp(std::uintptr_t address)
{
    return (address + HugePageArena::Bytes - 1) & ~(HugePageArena::Bytes - 1);
}

} // namespace

std::shared_ptr<HugePageArena> HugePageArena::make(Pages pages)
{
    // Twice the room, so that a boundary lies inside; the ends around it go back at once.
    void* mapped = mmap(nullptr, 2 * Bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(mapped);
    const std::size_t lead = RoundUp(first) - first;
    std::byte* start = static_cast<std::byte*>(mapped) + lead;
    if (lead != 0)
        munmap(mapped, lead);
    munmap(start + Bytes, Bytes - lead);
#if defined(MADV_HUGEPAGE)
    if (pages == Pages::Huge)
        madvise(start, Bytes, MADV_HUGEPAGE);
#endif
    return std::make_shared<HugePageArena>(MadeByMake(), start);
}

HugePageArena::~HugePageArena()
{
    munmap(m_Start, Bytes);
}

} // namespace vestrak
