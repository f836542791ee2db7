#include "citree/tree_object_lines.h"

#include "citree/tree_line.h"

#include <array>
#include <charconv>

namespace vestrak {

namespace {

// The upper-cased code, "/" and the line index: unique in the tree.
void WriteNodeKey(std::u16string_view code, std::size_t lineIndex, std::u16string& key)
{
    std::array<char, 24> digits {};
    char* end = std::to_chars(digits.data(), digits.data() + digits.size(), lineIndex).ptr;
    key.assign(code);
    key += u'/';
    key.append(digits.data(), end);
}

} // namespace

void TreeObjectLines::keyAndText(std::uint32_t lineIndex, std::u16string& key, std::u16string& text) const
{
    TreeLine line;
    ReadTreeLine(m_Lines.line(lineIndex, text), line);
    WriteNodeKey(line.code, lineIndex, key);
    if (line.text.empty()) {
        text.clear();
        return;
    }
    // The text is a part of the line decoded into text: cut the rest away around it.
    const auto start = static_cast<std::size_t>(line.text.data() - text.data());
    text.erase(start + line.text.size());
    text.erase(0, start);
}

} // namespace vestrak
