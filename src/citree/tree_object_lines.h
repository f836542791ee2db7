#pragma once

#include "object_file/section_bytes.h"
#include "ports/tree.h"
#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vestrak {

// The data lines of a tree's section, kept once for the control and for its tree's nodes: a
// node's key and text are read from its line when they are needed.
class TreeObjectLines final : public LentNodeTexts {
public:
    explicit TreeObjectLines(SectionBytes lines)
        : m_Lines(std::move(lines))
    {
    }

    [[nodiscard]] std::size_t size() const { return m_Lines.size(); }
    // The line decoded into room.
    std::u16string_view line(std::size_t index, std::u16string& room) const
    {
        return m_Lines.line(index, room);
    }
    // The line as the file's bytes, in the encoding the file was read with.
    [[nodiscard]] std::string_view bytes(std::size_t index) const { return m_Lines.bytes(index); }
    // Calls visit(index, bytes) for each line in order.
    template<typename Visit> void visitLines(Visit&& visit) const { m_Lines.visitLines(visit); }
    [[nodiscard]] ObjectFileText::Encoding encoding() const { return m_Lines.encoding(); }
    // A line's bytes in that encoding decoded into room.
    std::u16string_view decoded(std::string_view lineBytes, std::u16string& room) const
    {
        return SectionBytes::DecodedLine(lineBytes, m_Lines.encoding(), room);
    }

    // The text of a line of plain ASCII as a build found it, so that a filter rebuild reads it
    // without taking the line apart again. Nothing for a line no build noted, or whose text is not
    // the rest of the line (a second "=" ends it).
    [[nodiscard]] std::optional<std::string_view> knownAsciiText(
        std::size_t index, std::string_view lineBytes) const
    {
        if (index >= m_AsciiTextStarts.size() || m_AsciiTextStarts[index] == 0) {
            return std::nullopt;
        }
        return AsciiTextAt(lineBytes, m_AsciiTextStarts[index]);
    }
    // The text of a line of plain ASCII that starts where AsciiTextStart says, not 0.
    [[nodiscard]] static std::string_view AsciiTextAt(std::string_view lineBytes, std::uint8_t start)
    {
        return SpaceTrimmed(lineBytes.substr(start));
    }
    // Where a build found the text in the line's bytes, as noted: 0 when it is not to be noted.
    [[nodiscard]] static std::uint8_t AsciiTextStart(std::string_view line, std::string_view text);
    // Notes where the line's text starts, as AsciiTextStart gives it.
    void noteAsciiTextStart(std::size_t index, std::uint8_t start)
    {
        if (start == 0) {
            return;
        }
        // Lines noted while they are read are not yet counted: the notes grow by half again.
        if (index >= m_AsciiTextStarts.size()) {
            m_AsciiTextStarts.resize(
                std::max({ index + 1, m_Lines.size(), m_AsciiTextStarts.size() * 3 / 2 }));
        }
        m_AsciiTextStarts[index] = start;
    }

    // The lines, to serve as room for the next read once nothing lends from these.
    [[nodiscard]] SectionBytes takeLines() { return std::move(m_Lines); }
    // The lines once they have been read, for nodes added while they were.
    void putLines(SectionBytes lines) { m_Lines = std::move(lines); }

    // The node of a line: key "CODE/line index", unique in the tree, and the line's text.
    void keyAndText(std::uint32_t lineIndex, std::u16string& key, std::u16string& text) const override;
    [[nodiscard]] std::optional<std::uint32_t> referenceOfKey(std::u16string_view key) const override;
    // The lines above the line whose codes are prefixes of its code, as the whole file nests them.
    [[nodiscard]] std::vector<std::u16string> placeOf(std::uint32_t lineIndex) const override;

private:
    void findParentLines() const;

    SectionBytes m_Lines;
    // Each line's parent line as the whole file nests them, or NoParentLine; found at the first ask.
    static constexpr std::uint32_t NoParentLine = UINT32_MAX;
    mutable std::vector<std::uint32_t> m_ParentLines;
    // Where each line's noted text starts, 0 where none is: a byte a line, kept once a build notes one.
    std::vector<std::uint8_t> m_AsciiTextStarts;
};

} // namespace vestrak
