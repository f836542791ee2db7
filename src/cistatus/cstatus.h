#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vestrak {

/// The texts of a status record, kept with the record as UTF-8 bytes and decoded when read: its
/// section name, code, text and tag name. It is the size of one pointer: it points at a byte that
/// tells their layout and at their lengths (each one byte under 255, else 255 and four more
/// bytes), which the code's, text's and tag name's bytes follow. The section is the start of the
/// code, and a tag name that ends with the code shares the code's bytes. A text read from an
/// object file, whatever the file's encoding, decodes to exactly the text read. Valid as long as
/// the record it belongs to.
class StatusTexts {
public:
    /// No texts: all empty.
    StatusTexts() = default;
    /// The texts kept at kept, as a Writer wrote them.
    explicit StatusTexts(const char* kept)
        : m_Kept(kept)
    {
    }

    /// Texts about to be kept, laid out once: the bytes they take, then written into them.
    class Writer {
    public:
        /// The section must start the code.
        Writer(
            std::string_view section, std::string_view code, std::string_view text, std::string_view tagName);
        [[nodiscard]] std::size_t bytes() const { return m_Bytes; }
        /// Writes the texts at kept, bytes() of room, as a StatusTexts reads them.
        void write(char* kept) const;

    private:
        std::size_t m_SectionLength = 0;
        std::string_view m_Code;
        std::string_view m_Text;
        std::string_view m_TagName;
        // What of the tag name is written: all of it, or its bytes before the code.
        std::string_view m_TagWritten;
        unsigned char m_Layout = 0;
        std::size_t m_Bytes = 0;
    };

    [[nodiscard]] std::string_view section() const { return parts().section; }
    [[nodiscard]] std::string_view code() const { return parts().code; }
    [[nodiscard]] std::string_view text() const { return parts().text; }
    [[nodiscard]] std::string_view tagName() const { return parts().tagName; }

    /// A text of these decoded.
    [[nodiscard]] static std::u16string Decoded(std::string_view bytes);

private:
    struct Parts {
        std::string_view section;
        std::string_view code;
        std::string_view text;
        std::string_view tagName;
    };
    [[nodiscard]] Parts parts() const;

    const char* m_Kept = nullptr;
};

/// The status of one object of the status tree: shared by the tree's record list, the host's
/// query cursor and the selection, so it may outlive the node that showed it. Record n shows
/// node n + 1 of the tree.
class cStatus {
public:
    /// The object's section name (the first comma item of its code: its information section and
    /// picture name), code, text and tag name (empty: never asked for). Kept as long as the
    /// record.
    StatusTexts m_Texts;
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
