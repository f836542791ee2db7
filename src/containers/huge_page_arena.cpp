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

void AdviseHugePages(void* start, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = RoundUp(address);
    const std::uintptr_t end = (address + bytes) & ~(HugePageArena::Bytes - 1);
    if (first < end)
        madvise(static_cast<std::byte*>(start) + (first - address), end - first, MADV_HUGEPAGE);
#else
    static_cast<void>(start);
    static_cast<void>(bytes);
#endif
}

} // namespace vestrak
