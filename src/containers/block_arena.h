#pragma once

#include <cstddef>
#include <memory>

namespace vestrak {

// Two megabytes of memory on a boundary of their size, which its users carve into blocks that
// find their start from an address alone. Freed when the last user lets go.
class BlockArena {
public:
    static constexpr std::size_t Bytes = std::size_t { 1 } << 21;

    // Throws std::bad_alloc when the system refuses the room.
    [[nodiscard]] static std::shared_ptr<BlockArena> make();

    // Has the system map the pages of the range, written, in one call instead of a fault per
    // page. A page first read and then written costs two faults, and the second tells every
    // other thread of the process to forget the page it read; a system without the call leaves
    // the pages to their faults.
    static void mapWritten(std::byte* start, std::size_t bytes);

    class MadeByMake {
        friend class BlockArena;
        MadeByMake() = default;
    };
    BlockArena(MadeByMake, std::byte* start)
        : m_Start(start)
    {
    }
    ~BlockArena();
    BlockArena(const BlockArena&) = delete;
    BlockArena& operator=(const BlockArena&) = delete;

    [[nodiscard]] std::byte* start() const { return m_Start; }

private:
    std::byte* m_Start;
};

} // namespace vestrak
