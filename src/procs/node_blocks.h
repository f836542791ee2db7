#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vestrak {

// Keeps the nodes of a tree in blocks of many, so that adding a node costs no allocation of its
// own and letting a whole tree go costs one release per block. A handle given out shares its
// block: it stays safe after the tree let go of its nodes, and keeps just that block.
template<typename Node> class NodeBlocks {
public:
    // A new node and its handle.
    template<typename... Arguments> std::shared_ptr<Node> emplace(Arguments&&... arguments)
    {
        place(std::forward<Arguments>(arguments)...);
        return handleOf(lastId());
    }

    // A new node without a handle: lastId() then tells its number, for handles made later.
    template<typename... Arguments> Node& place(Arguments&&... arguments)
    {
        if (m_Blocks.empty() || m_Blocks.back()->size() == BlockNodes) {
            auto block = std::make_shared<std::vector<Node>>();
            // Never grown past this, so the nodes in it never move.
            block->reserve(BlockNodes);
            m_Starts.push_back(block->data());
            m_Blocks.push_back(std::move(block));
        }
        return m_Blocks.back()->emplace_back(std::forward<Arguments>(arguments)...);
    }

    // The number of the node added last, which stays its number until the blocks are cleared.
    [[nodiscard]] std::uint32_t lastId() const
    {
        return static_cast<std::uint32_t>((m_Blocks.size() - 1) * BlockNodes + m_Blocks.back()->size() - 1);
    }
    [[nodiscard]] Node& at(std::uint32_t id) const { return m_Starts[id / BlockNodes][id % BlockNodes]; }

    // A handle of the node with that number.
    [[nodiscard]] std::shared_ptr<Node> handleOf(std::uint32_t id) const
    {
        return std::shared_ptr<Node>(m_Blocks[id / BlockNodes], &at(id));
    }

    // Lets go of every block that no handle shares.
    void clear()
    {
        m_Blocks.clear();
        m_Starts.clear();
    }

private:
    static constexpr std::size_t BlockNodes = 256;

    std::vector<std::shared_ptr<std::vector<Node>>> m_Blocks;
    // Where each block's nodes begin, so that a node is found by its number in one step.
    std::vector<Node*> m_Starts;
};

} // namespace vestrak
