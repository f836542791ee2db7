#pragma once

#include "../ports/tree.h"
#include "cstatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

template<typename Char> struct BasicStatusLine;

// The records of a status tree in node order, in blocks of many, each block with the texts of its
// records as UTF-8: the section and tag names, and the code and text their nodes show. Adding a
// record costs no allocation of its own, and a record handed out (the query cursor, the
// selection) keeps only its block and those texts alive. The tree reads its nodes' keys and texts
// from here, by the records' positions, instead of keeping copies.
class StatusRecords {
public:
    using Chunk = std::shared_ptr<char[]>;

    // Writes the texts of lines where they are kept, in chunks that never move, so that keeping
    // some costs no allocation of its own; the record that holds them may come later, and on
    // another thread. Lines one after another share a chunk.
    class TextKeeper {
    public:
        // The line's texts, kept in the chunk that holder holds last.
        StatusTexts keep(const BasicStatusLine<char>& line, std::vector<Chunk>& holder);

    private:
        // Some three blocks of plant-like lines.
        static constexpr std::size_t ChunkBytes = 32768;
        Chunk m_Chunk;
        std::size_t m_Used = ChunkBytes;
    };

    // A new last record for that line of the section, with texts a keeper kept in chunk.
    cStatus& add(StatusTexts texts, const Chunk& chunk, std::uint32_t lineIndex);
    // Takes back the record added last, which no node came for.
    void removeLast();
    // Starts an empty list; a tree still showing the records before keeps their texts.
    void clear();

    [[nodiscard]] std::size_t size() const { return m_Texts->count; }
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
    // The text the record's node shows, written into the room given.
    void nodeText(std::size_t position, std::u16string& text) const;
    // What the tree reads the nodes' keys and texts from; the reference is the record's position.
    [[nodiscard]] const std::shared_ptr<const LentNodeTexts>& nodeTexts() const { return m_LentTexts; }

private:
    static constexpr std::size_t BlockRecords = 256;

    // Each block holds the chunks its records' texts lie in; blocks one after another share a
    // chunk, so no block leaves the end of a chunk of its own unused.
    struct Block {
        std::array<cStatus, BlockRecords> records;
        std::vector<Chunk> chunks;
    };

    // The blocks, shared with the tree that shows them.
    struct Texts final : LentNodeTexts {
        // The node of a record: key "code/line index", unique in the tree, and the record's text.
        void keyAndText(std::uint32_t position, std::u16string& key, std::u16string& text) const override;
        // The position of the record of the line the key names: records follow their lines.
        [[nodiscard]] std::optional<std::uint32_t> referenceOfKey(std::u16string_view key) const override;
        // The section, code, text and tag name of a record.
        [[nodiscard]] const StatusTexts& texts(std::size_t position) const
        {
            return blocks[position / BlockRecords]->records[position % BlockRecords].m_Texts;
        }
        // The line a record was read from, which its node's key names.
        [[nodiscard]] std::uint32_t lineIndex(std::size_t position) const;

        std::vector<std::shared_ptr<Block>> blocks;
        std::size_t count = 0;
        // Records follow their lines, most often one for each: a run of records whose lines
        // follow one another is kept as its first position and how many lines lie before it
        // that are no record's, instead of a line index for each record.
        struct Run {
            std::uint32_t position = 0;
            std::uint32_t linesSkipped = 0;
        };
        std::vector<Run> runs;
    };

    std::shared_ptr<Texts> m_Texts = std::make_shared<Texts>();
    // The same, as the tree reads them: handed out with no count up and down for each node.
    std::shared_ptr<const LentNodeTexts> m_LentTexts = m_Texts;
};

} // namespace vestrak
