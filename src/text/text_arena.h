#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace vestrak {

// Keeps many small texts in a few large blocks of BlockUnits code units, so that keeping one costs
// no allocation of its own and letting them all go costs one release per block. A view given
// stays valid until the arena is cleared or destroyed.
template<std::size_t BlockUnits> class BasicTextArena {
public:
    std::u16string_view keep(std::u16string_view text) { return keep(text, {}); }

    // Keeps two texts side by side, so that one view reaches both.
    std::u16string_view keep(std::u16string_view first, std::u16string_view second)
    {
        const std::size_t size = first.size() + second.size();
        if (size == 0) {
            return {};
        }
        char16_t* start = nullptr;
        if (size > BlockUnits) {
            // A text longer than a block gets one of its own, before the block being filled.
            const auto own = m_Blocks.insert(m_Blocks.end() - (m_Blocks.empty() ? 0 : 1),
                std::make_unique_for_overwrite<char16_t[]>(size));
            start = own->get();
        } else {
            if (size > BlockUnits - m_Used) {
                m_Blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(BlockUnits));
                m_Used = 0;
            }
            start = m_Blocks.back().get() + m_Used;
            m_Used += size;
        }
        std::copy(second.begin(), second.end(), std::copy(first.begin(), first.end(), start));
        return { start, size };
    }

    // Gives back the room of the text kept last, which nothing took after all. Room that cannot
    // be given back (the text began a block) stays until the arena is cleared.
    void giveBack(std::u16string_view text)
    {
        if (text.size() > BlockUnits) {
            std::erase_if(m_Blocks, [&text](const auto& block) { return block.get() == text.data(); });
        } else if (!text.empty() && text.data() + text.size() == m_Blocks.back().get() + m_Used) {
            m_Used -= text.size();
        }
    }

    void clear()
    {
        m_Blocks.clear();
        m_Used = BlockUnits;
    }

private:
    std::vector<std::unique_ptr<char16_t[]>> m_Blocks;
    // Code units taken in the last block.
    std::size_t m_Used = BlockUnits;
};

// For the texts of a whole tree: blocks of 64 KB.
using TextArena = BasicTextArena<std::size_t { 32 } * 1024>;

} // namespace vestrak
