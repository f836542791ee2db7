#pragma once

#include "text/ascii_units.h"
#include "text/encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vestrak {

// The data lines of a section kept as the file's bytes, one line decoded when it is asked for:
// half the room of the decoded text for most files, and nothing kept twice. The bytes and the
// line starts grow by realloc, which moves a large block by remapping its pages, so growing
// never holds two copies of the section. They keep small pages: written once in order and read a
// line at a time, they gain little from huge ones, which cost the most to clear when fresh. A
// line's start is kept in an Offset, and where the bytes pass a multiple of the Offset's range the
// number of the line that passed it is noted, so a section of any size costs an Offset a line.
template<typename Offset> class BasicSectionBytes {
public:
    BasicSectionBytes() = default;
    explicit BasicSectionBytes(ObjectFileText::Encoding encoding)
        : m_Encoding(encoding)
    {
    }

    void add(std::string_view line)
    {
        GrowTo(m_Bytes, m_ByteCount + line.size(), m_ByteRoom);
        GrowTo(m_Starts, m_Lines + 2, m_StartRoom);
        std::copy(line.begin(), line.end(), m_Bytes.get() + m_ByteCount);
        if (m_Lines == 0)
            m_Starts[0] = 0;
        const std::size_t end = m_ByteCount + line.size();
        // A line longer than the range passes more than one multiple of it.
        for (std::size_t passed = m_ByteCount / OffsetRange; passed < end / OffsetRange; ++passed)
            m_PassedAt.push_back(m_Lines + 1);
        m_ByteCount = end;
        m_Starts[++m_Lines] = static_cast<Offset>(end % OffsetRange);
    }

    // Empties the lines for others in that encoding, keeping the room they took: a section read
    // again is then read into memory the process already has.
    void restart(ObjectFileText::Encoding encoding)
    {
        m_Encoding = encoding;
        m_ByteCount = 0;
        m_Lines = 0;
        m_PassedAt.clear();
    }

    // Room for that many bytes of lines at once, such as the file's size, so that reading a large
    // section copies nothing while it grows; fitToSize() then gives back what the lines left. Room
    // the system refuses is no error: the bytes grow step by step then.
    void reserveBytes(std::size_t bytes)
    {
        if (bytes > m_ByteRoom)
            Resize(m_Bytes, bytes, m_ByteRoom);
    }
    void fitToSize()
    {
        if (m_ByteCount != 0 && m_ByteCount != m_ByteRoom)
            Resize(m_Bytes, m_ByteCount, m_ByteRoom);
    }

    [[nodiscard]] std::size_t size() const { return m_Lines; }
    [[nodiscard]] bool empty() const { return m_Lines == 0; }
    [[nodiscard]] std::string_view bytes(std::size_t index) const
    {
        const std::size_t start = startOf(index);
        return { m_Bytes.get() + start, startOf(index + 1) - start };
    }
    // Calls visit(index, bytes) for each line in order, each line's start read on from the last
    // instead of looked up.
    template<typename Visit> void visitLines(Visit&& visit) const
    {
        std::size_t passedCount = 0;
        const auto startAt = [&](std::size_t index) {
            while (passedCount < m_PassedAt.size() && m_PassedAt[passedCount] <= index)
                ++passedCount;
            return passedCount * OffsetRange + m_Starts[index];
        };
        std::size_t start = m_Lines == 0 ? 0 : startAt(0);
        for (std::size_t index = 0; index < m_Lines; ++index) {
            const std::size_t end = startAt(index + 1);
            visit(index, std::string_view(m_Bytes.get() + start, end - start));
            start = end;
        }
    }
    // The line decoded into room.
    std::u16string_view line(std::size_t index, std::u16string& room) const
    {
        return DecodedLine(bytes(index), m_Encoding, room);
    }
    [[nodiscard]] ObjectFileText::Encoding encoding() const { return m_Encoding; }
    // A line's bytes decoded into room: their plain ASCII start taken many bytes at a time, and
    // the rest, if any, decoded from there.
    static std::u16string_view DecodedLine(
        std::string_view lineBytes, ObjectFileText::Encoding encoding, std::u16string& room)
    {
        room.clear();
        const std::size_t ascii = AppendAsciiPrefix(room, lineBytes);
        if (ascii < lineBytes.size()) {
            AppendDecoded(room, lineBytes.substr(ascii), encoding);
        }
        return room;
    }

private:
    static constexpr std::size_t OffsetRange = std::size_t { std::numeric_limits<Offset>::max() } + 1;

    struct Free {
        void operator()(void* block) const { std::free(block); }
    };

    // Grows a block of trivially copyable items to hold at least wanted, by half again each time.
    template<typename Block> static void GrowTo(Block& block, std::size_t wanted, std::size_t& room)
    {
        if (wanted <= room)
            return;
        const std::size_t newRoom
            = room == 0 ? std::max(wanted, std::size_t { 4096 }) : std::max({ wanted, room + room / 2 });
        if (!Resize(block, newRoom, room))
            throw std::bad_alloc();
    }

    // Gives a block of trivially copyable items room for that many; false, and the block as it
    // was, when the system refuses.
    template<typename Block> static bool Resize(Block& block, std::size_t newRoom, std::size_t& room)
    {
        using Item = std::remove_reference_t<decltype(block[0])>;
        void* resized = std::realloc(block.get(), newRoom * sizeof(Item));
        if (!resized)
            return false;
        static_cast<void>(block.release());
        block.reset(static_cast<Item*>(resized));
        room = newRoom;
        return true;
    }

    [[nodiscard]] std::size_t startOf(std::size_t index) const
    {
        const auto passed = static_cast<std::size_t>(
            std::upper_bound(m_PassedAt.begin(), m_PassedAt.end(), index) - m_PassedAt.begin());
        return passed * OffsetRange + m_Starts[index];
    }

    ObjectFileText::Encoding m_Encoding = ObjectFileText::Encoding::Utf8;
    std::unique_ptr<char[], Free> m_Bytes;
    std::size_t m_ByteCount = 0;
    std::size_t m_ByteRoom = 0;
    // Line i is the bytes from start i up to start i + 1.
    std::unique_ptr<Offset[], Free> m_Starts;
    std::size_t m_Lines = 0;
    std::size_t m_StartRoom = 0;
    // The numbers of the line starts at which the bytes had passed one more multiple of the
    // Offset's range; none for a section under 4 GB.
    std::vector<std::size_t> m_PassedAt;
};

using SectionBytes = BasicSectionBytes<std::uint32_t>;

} // namespace vestrak
