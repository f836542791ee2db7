#pragma once

#include "containers/block_arena.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace vestrak {

// Keeps the nodes of a tree in blocks of many, so that adding a node costs no allocation of its
// own and letting a whole tree go costs one release per block. Each block lies on a boundary of
// its own size, so a node finds its block from its address alone, and with it its owner and its
// number: a node holds neither. A handle given out shares its block: it stays safe after the
// tree let go of its nodes, and keeps the arena its block was carved from.
template<typename Node, typename Owner> class NodeBlocks {
public:
    explicit NodeBlocks(Owner& owner)
        : m_Owner(&owner)
    {
    }

    // A new node; lastId() then tells its number.
    template<typename... Arguments> Node& place(Arguments&&... arguments)
    {
        if (m_Blocks.empty() || m_Blocks.back()->size == BlockNodes)
            m_Blocks.push_back(carveBlock());
        Block& block = *m_Blocks.back();
        // Made by the placement new, not read before.
        // cppcheck-suppress legacyUninitvar
        Node* node = ::new (block.room.data() + block.size * sizeof(Node))
            Node(std::forward<Arguments>(arguments)...);
        ++block.size;
        return *node;
    }

    // The number of the node added last, which stays its number until the blocks are cleared.
    [[nodiscard]] std::uint32_t lastId() const
    {
        return m_Blocks.back()->firstId + m_Blocks.back()->size - 1;
    }
    [[nodiscard]] bool holds(std::uint32_t id) const { return !m_Blocks.empty() && id <= lastId(); }
    [[nodiscard]] Node& at(std::uint32_t id) const
    {
        return *m_Blocks[id / BlockNodes]->nodeAt(id % BlockNodes);
    }

    // Calls visit(node) for the nodes numbered first up to end, in order: each block is found once
    // and its nodes walked by address.
    template<typename Visit> void forEachFrom(std::uint32_t first, std::uint32_t end, Visit visit) const
    {
        for (std::uint32_t id = first; id < end;) {
            const Block& block = *m_Blocks[id / BlockNodes];
            const std::uint32_t blockEnd = std::min(end, block.firstId + block.size);
            for (Node* node = block.nodeAt(id - block.firstId); id < blockEnd; ++id, ++node)
                visit(*node);
        }
    }

    // A handle of the node with that number.
    [[nodiscard]] std::shared_ptr<Node> handleOf(std::uint32_t id) const
    {
        const std::shared_ptr<Block>& block = m_Blocks[id / BlockNodes];
        return std::shared_ptr<Node>(block, block->nodeAt(id % BlockNodes));
    }
    // A handle of the node added last.
    [[nodiscard]] std::shared_ptr<Node> handleOfLast() const
    {
        const std::shared_ptr<Block>& block = m_Blocks.back();
        return std::shared_ptr<Node>(block, block->nodeAt(block->size - 1));
    }

    // Lets go of every block; the nodes of a block that a handle still shares are handed to
    // leave(node) first. The others are never touched again: a large tree lets go of its
    // blocks without reading them.
    template<typename Leave> void clear(Leave leave)
    {
        for (const std::shared_ptr<Block>& block : m_Blocks) {
            if (block.use_count() > 1) {
                for (std::uint32_t slot = 0; slot < block->size; ++slot)
                    leave(*block->nodeAt(slot));
            }
        }
        m_Blocks.clear();
        m_Arena.reset();
        m_BlocksCarved = 0;
    }

    // The owner of the blocks a node was placed in; it may be gone once the node left it.
    [[nodiscard]] static Owner& ownerOf(const Node& node) { return *blockOf(node).owner; }
    [[nodiscard]] static std::uint32_t idOf(const Node& node)
    {
        const Block& block = blockOf(node);
        const auto offset
            = static_cast<std::size_t>(reinterpret_cast<const std::byte*>(&node) - block.room.data());
        return block.firstId + static_cast<std::uint32_t>(offset / sizeof(Node));
    }

private:
    static constexpr std::size_t BlockBytes = std::size_t { 1 } << 16;
    // The block's owner, first number and size come first.
    static constexpr std::size_t HeaderBytes = 16;
    static constexpr std::size_t BlockNodes = (BlockBytes - HeaderBytes) / sizeof(Node);

    struct alignas(BlockBytes) Block {
        Block(Owner* blockOwner, std::uint32_t blockFirstId)
            : owner(blockOwner)
            , firstId(blockFirstId)
        {
        }
        ~Block()
        {
            for (std::uint32_t i = 0; i < size; ++i)
                nodeAt(i)->~Node();
        }
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;

        [[nodiscard]] Node* nodeAt(std::size_t slot) const
        {
            return std::launder(
                reinterpret_cast<Node*>(const_cast<std::byte*>(room.data()) + slot * sizeof(Node)));
        }

        Owner* owner;
        std::uint32_t firstId;
        std::uint32_t size = 0;
        alignas(Node) std::array<std::byte, BlockNodes * sizeof(Node)> room;
    };
    static_assert(sizeof(Block) == BlockBytes);
    static constexpr std::size_t BlocksPerArena = BlockArena::Bytes / BlockBytes;

    // The arena stays while any of its blocks does.
    struct ReleaseIntoArena {
        std::shared_ptr<BlockArena> arena;
        void operator()(Block* block) const { block->~Block(); }
    };

    [[nodiscard]] std::shared_ptr<Block> carveBlock()
    {
        if (!m_Arena || m_BlocksCarved == BlocksPerArena) {
            m_Arena = BlockArena::make();
            m_BlocksCarved = 0;
        }
        std::byte* room = m_Arena->start() + m_BlocksCarved * BlockBytes;
        ++m_BlocksCarved;
        // A small tree takes only the pages it touches; a tree that filled a block is large, and
        // its next blocks are mapped whole at once.
        if (!m_Blocks.empty())
            BlockArena::mapWritten(room, BlockBytes);
        const auto firstId = static_cast<std::uint32_t>(m_Blocks.size() * BlockNodes);
        return std::shared_ptr<Block>(::new (room) Block(m_Owner, firstId), ReleaseIntoArena { m_Arena });
    }

    [[nodiscard]] static const Block& blockOf(const Node& node)
    {
        const std::uintptr_t offsetInBlock = reinterpret_cast<std::uintptr_t>(&node) & (BlockBytes - 1);
        return *reinterpret_cast<const Block*>(reinterpret_cast<const std::byte*>(&node) - offsetInBlock);
    }

    Owner* m_Owner;
    std::vector<std::shared_ptr<Block>> m_Blocks;
    std::shared_ptr<BlockArena> m_Arena;
    std::size_t m_BlocksCarved = 0;
};

} // namespace vestrak
