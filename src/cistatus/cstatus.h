#pragma once

#include "../ports/tree.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vestrak {

/// A text of a status record, kept with the record as UTF-8 bytes and decoded when read. It is
/// the size of one pointer: it points at the text's length, which its bytes follow (one byte for
/// a length under 255, else 255 and four more bytes). A text read from an object file, whatever
/// the file's encoding, decodes to exactly the text read. Valid as long as the record it belongs
/// to.
class StatusText {
public:
    /// An empty text.
    StatusText() = default;
    /// The text whose length and bytes are kept at lengthAndBytes, the length written by
    /// AppendLength.
    explicit StatusText(const char* lengthAndBytes)
        : m_LengthAndBytes(lengthAndBytes)
    {
    }

    /// Where the text's length and bytes are kept, as given when it was made.
    [[nodiscard]] const char* lengthAndBytes() const { return m_LengthAndBytes; }
    /// Writes the length of the bytes that are to follow, as a StatusText reads it.
    static void AppendLength(std::string& kept, std::size_t length);

    /// True when the text has no characters.
    [[nodiscard]] bool empty() const { return bytes().empty(); }
    /// The text's UTF-8 bytes.
    [[nodiscard]] std::string_view bytes() const;
    /// The text decoded.
    [[nodiscard]] std::u16string text() const;
    /// Appends the text decoded, without a room of its own.
    void appendTextTo(std::u16string& text) const;

private:
    const char* m_LengthAndBytes = nullptr;
};

/// The status of one object of the status tree: shared by the tree's record list, the host's
/// query cursor and the selection, so it may outlive the node that showed it.
class cStatus {
public:
    /// The node that shows the object.
    NodeRef m_Node;
    /// The first comma item of the object's code: its information section and picture name. Kept
    /// as long as the record.
    StatusText m_Section;
    /// The tag whose status the host reports for the object; empty: never asked for. Kept as
    /// long as the record.
    StatusText m_TagName;
    /// The status value: first from the object line, then as the host reports it.
    std::int32_t m_Status = 0;
    /// The status to show, after inheritance.
    std::int32_t m_DesiredStatus = 0;
    /// Kept with the record; the control neither sets nor reads it.
    std::int32_t m_Behaviour = 0;
    /// True when m_DesiredStatus came from a descendant.
    bool m_StatusWasInherited = false;
};

} // namespace vestrak
