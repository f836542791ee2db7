#include "containers/block_arena.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace vestrak {

namespace {

std::uintptr_t RoundUp(std::uintptr_t address)
{
    return (address + BlockArena::Bytes - 1) & ~(BlockArena::Bytes - 1);
}

} // namespace

std::shared_ptr<BlockArena> BlockArena::make()
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
    return std::make_shared<BlockArena>(MadeByMake(), start);
}

void BlockArena::mapWritten(std::byte* start, std::size_t bytes)
{
#if defined(MADV_POPULATE_WRITE)
    madvise(start, bytes, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

BlockArena::~BlockArena()
{
    munmap(m_Start, Bytes);
}

} // namespace vestrak
