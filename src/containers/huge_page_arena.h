#pragma once

#include <cstddef>
#include <memory>

namespace vestrak {

// Two megabytes of memory on a boundary of their size, which the system may map as one huge page:
// filling it then costs one page fault instead of 512. Freed when the last user lets go.
class HugePageArena {
public:
    static constexpr std::size_t Bytes = std::size_t { 1 } << 21;
    enum class Pages { Small, Huge };

    // Throws std::bad_alloc when the system refuses the room.
    [[nodiscard]] static std::shared_ptr<HugePageArena> make(Pages pages);

    class MadeByMake {
        friend class HugePageArena;
        MadeByMake() = default;
    };
    HugePageArena(MadeByMake, std::byte* start)
        : m_Start(start)
    {
    }
    ~HugePageArena();
    HugePageArena(const HugePageArena&) = delete;
    HugePageArena& operator=(const HugePageArena&) = delete;

    [[nodiscard]] std::byte* start() const { return m_Start; }

private:
    std::byte* m_Start;
};

} // namespace vestrak
