#pragma once

#include "../procs/text_arena.h"
#include "cstatus.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace vestrak {

// The records of a status tree in node order, in blocks of many, each block with the section and
// tag names of its records. Adding a record costs no allocation of its own, and a record handed
// out (the query cursor, the selection) keeps only its block and those names alive.
class StatusRecords {
public:
    // A new last record whose m_Section and m_TagName are kept copies of these.
    cStatus& add(std::u16string_view section, std::u16string_view tagName);
    void clear()
    {
        m_Blocks.clear();
        m_Count = 0;
    }

    [[nodiscard]] std::size_t size() const { return m_Count; }
    [[nodiscard]] cStatus& operator[](std::size_t position)
    {
        return m_Blocks[position / BlockRecords]->records[position % BlockRecords];
    }
    [[nodiscard]] const cStatus& operator[](std::size_t position) const
    {
        return m_Blocks[position / BlockRecords]->records[position % BlockRecords];
    }
    // A handle that keeps the record's block.
    [[nodiscard]] std::shared_ptr<cStatus> handle(std::size_t position) const;

private:
    static constexpr std::size_t BlockRecords = 256;

    struct Block {
        std::array<cStatus, BlockRecords> records;
        // About six chunks of 2 KB for a block of plant-like names.
        BasicTextArena<1024> names;
    };

    std::vector<std::shared_ptr<Block>> m_Blocks;
    std::size_t m_Count = 0;
};

} // namespace vestrak
