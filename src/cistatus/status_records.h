#pragma once

#include "../ports/tree.h"
#include "../procs/text_arena.h"
#include "cstatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

struct StatusLine;

// The records of a status tree in node order, in blocks of many, each block with the texts of its
// records: the section and tag names, and the code and text their nodes show. Adding a record
// costs no allocation of its own, and a record handed out (the query cursor, the selection) keeps
// only its block and those texts alive. The tree reads its nodes' keys and texts from here, by
// the records' positions, instead of keeping copies.
class StatusRecords {
public:
    // A new last record for that line of the section: its m_Section and m_TagName point into the
    // texts kept with it.
    cStatus& add(const StatusLine& line, std::uint32_t lineIndex);
    // Takes back the record added last, which no node came for.
    void removeLast();
    // Starts an empty list; a tree still showing the records before keeps their texts.
    void clear();

    [[nodiscard]] std::size_t size() const { return m_Count; }
    [[nodiscard]] cStatus& operator[](std::size_t position)
    {
        return m_Texts->blocks[position / BlockRecords]->records[position % BlockRecords];
    }
    [[nodiscard]] const cStatus& operator[](std::size_t position) const
    {
        return m_Texts->blocks[position / BlockRecords]->records[position % BlockRecords];
    }
    // A handle that keeps the record's block.
    [[nodiscard]] std::shared_ptr<cStatus> handle(std::size_t position) const;
    // The text the record's node shows.
    [[nodiscard]] std::u16string_view nodeText(std::size_t position) const;
    // What the tree reads the nodes' keys and texts from; the reference is the record's position.
    [[nodiscard]] std::shared_ptr<const LentNodeTexts> nodeTexts() const { return m_Texts; }

private:
    static constexpr std::size_t BlockRecords = 256;

    // The lengths of a record's code and text, and the line it came from.
    struct NodeTextPlace {
        std::uint32_t codeLength = 0;
        std::uint32_t textLength = 0;
        std::uint32_t lineIndex = 0;
    };

    struct Block {
        std::array<cStatus, BlockRecords> records;
        std::array<NodeTextPlace, BlockRecords> places;
        // About a dozen chunks of 2 KB for a block of plant-like lines.
        BasicTextArena<1024> texts;
    };

    // The blocks, shared with the tree that shows them.
    struct Texts final : LentNodeTexts {
        // The node of a record: key "code/line index", unique in the tree, and the record's text.
        void keyAndText(std::uint32_t position, std::u16string& key, std::u16string& text) const override;
        // The record's code and text, which lie just before its tag name.
        [[nodiscard]] std::u16string_view code(std::size_t position) const;
        [[nodiscard]] std::u16string_view text(std::size_t position) const;

        std::vector<std::shared_ptr<Block>> blocks;
    };

    std::shared_ptr<Texts> m_Texts = std::make_shared<Texts>();
    std::size_t m_Count = 0;
    // Where a record's texts are put together before they are kept.
    std::u16string m_Joined;
};

} // namespace vestrak
