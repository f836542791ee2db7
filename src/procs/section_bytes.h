#pragma once

#include "procs/encoding.h"

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace vestrak {

// The data lines of a section kept as the file's bytes, one line decoded when it is asked for:
// half the room of the decoded text for most files, and nothing kept twice. The bytes and the
// line starts grow by realloc, which moves a large block by remapping its pages, so growing
// never holds two copies of the section.
class SectionBytes {
public:
    SectionBytes() = default;
    explicit SectionBytes(ObjectFileText::Encoding encoding)
        : m_Encoding(encoding)
    {
    }

    // Adds a data line; a NUL inside it ends a line there and starts another, as for every reader
    // that splits a section's text at NUL.
    void add(std::string_view line);

    [[nodiscard]] std::size_t size() const { return m_Lines; }
    [[nodiscard]] bool empty() const { return m_Lines == 0; }
    [[nodiscard]] std::string_view bytes(std::size_t index) const
    {
        return { m_Bytes.get() + m_Starts.get()[index], m_Starts.get()[index + 1] - m_Starts.get()[index] };
    }
    // The line decoded into room.
    std::u16string_view line(std::size_t index, std::u16string& room) const
    {
        room.clear();
        AppendDecoded(room, bytes(index), m_Encoding);
        return room;
    }

private:
    struct Free {
        void operator()(void* block) const { std::free(block); }
    };

    void addOne(std::string_view line);

    ObjectFileText::Encoding m_Encoding = ObjectFileText::Encoding::Utf8;
    std::unique_ptr<char[], Free> m_Bytes;
    std::size_t m_ByteCount = 0;
    std::size_t m_ByteRoom = 0;
    // Line i is the bytes from m_Starts[i] up to m_Starts[i + 1].
    std::unique_ptr<std::size_t[], Free> m_Starts;
    std::size_t m_Lines = 0;
    std::size_t m_StartRoom = 0;
};

} // namespace vestrak
