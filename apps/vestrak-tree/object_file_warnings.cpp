#include "object_file_warnings.h"

#include "citree/tree_line.h"
#include "containers/key_index.h"
#include "ports/image_lists.h"
#include "text/numeric.h"
#include "text/text.h"
#include "text/text_arena.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace vestrak {

namespace {

std::u16string LineText(std::int32_t fileLine)
{
    return u"line " + DecimalText(fileLine);
}

// The line index a node's key ends with; -1 when the key has none that fits the lines.
std::int64_t LineIndexOfKey(const std::u16string& key, std::size_t lineCount)
{
    const auto index = RoundToInt32(LeadingNumber(GetField(key, 1, u"/")));
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= lineCount) {
        return -1;
    }
    return *index;
}

// Codes with the file line each was first seen on. The codes are kept in an arena and found through
// an index of hashes, so millions of codes cost little more than their characters.
class CodeLines {
public:
    // The file line the code was first seen on, or nothing when it is new and now kept.
    std::optional<std::int32_t> add(std::u16string_view code, std::int32_t fileLine)
    {
        if (!m_Index.insert(code, m_Codes.size(), codeAt())) {
            return find(code);
        }
        m_Codes.push_back({ m_Texts.keep(code), fileLine });
        return std::nullopt;
    }

    [[nodiscard]] std::optional<std::int32_t> find(std::u16string_view code) const
    {
        const auto position = m_Index.find(code, codeAt());
        return position ? std::optional(m_Codes[*position].fileLine) : std::nullopt;
    }

private:
    struct CodeLine {
        std::u16string_view code;
        std::int32_t fileLine = 0;
    };

    [[nodiscard]] std::function<std::u16string_view(std::size_t)> codeAt() const
    {
        return [this](std::size_t position) { return m_Codes[position].code; };
    }

    std::vector<CodeLine> m_Codes;
    KeyIndex m_Index;
    TextArena m_Texts;
};

} // namespace

bool IsWholeNumberText(std::u16string_view text)
{
    const auto isDigitOf = [](char16_t unit, std::int32_t radix) {
        const bool decimal = unit >= u'0' && unit <= u'9' && unit - u'0' < radix;
        const bool hexLetter
            = radix == 16 && ((unit >= u'A' && unit <= u'F') || (unit >= u'a' && unit <= u'f'));
        return decimal || hexLetter;
    };
    std::int32_t radix = 10;
    if (text.size() >= 2 && text[0] == u'&' && (text[1] == u'H' || text[1] == u'h')) {
        radix = 16;
        text.remove_prefix(2);
    } else if (text.size() >= 2 && text[0] == u'&' && (text[1] == u'O' || text[1] == u'o')) {
        radix = 8;
        text.remove_prefix(2);
    } else if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
        text.remove_prefix(1);
    }
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [&](char16_t unit) { return isDigitOf(unit, radix); });
}

std::u16string Quoted(std::u16string_view text)
{
    std::u16string quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    quoted += text;
    quoted += u'"';
    return quoted;
}

std::u16string_view FirstValueField(std::u16string_view line)
{
    return SpaceTrimmed(FieldView(SpaceTrimmed(FieldView(line, 1, u"=")), 0, u","));
}

ObjectFileWarning MissingSectionWarning(
    const std::u16string& file, std::u16string_view section, FileSystem& files)
{
    // Its first piece tells whether the file can be read.
    if (!files.readFileInPieces(file, [](std::string_view) { return false; })) {
        return { 0, u"cannot read " + file };
    }
    return { 0, u"no section [" + std::u16string(section) + u"] in " + file };
}

ObjectFileWarning SkippedLinesWarning(const SkippedLines& skipped)
{
    constexpr std::u16string_view Why = u" NUL bytes, as a crash or power cut leaves a file: skipped";
    if (skipped.count == 1) {
        return { skipped.firstFileLine, u"the line holds" + std::u16string(Why) };
    }
    return { skipped.firstFileLine,
        DecimalText(static_cast<std::int64_t>(skipped.count)) + u" lines from here on hold"
            + std::u16string(Why) };
}

std::vector<ObjectFileWarning> CheckSectionLines(const NumberedSectionLines& numbered, LineImages images)
{
    std::vector<ObjectFileWarning> warnings;
    // The upper-cased codes of the lines with "=", with the file line of each; found by code
    // through an index over them, so a file of millions of lines keeps one copy of each code.
    CodeLines firstLineOfCode;
    TreeLine parsed;
    ForEachObjectLine(numbered, warnings, [&](std::u16string_view line, std::int32_t fileLine) {
        ReadTreeLine(line, parsed);
        if (const auto first = firstLineOfCode.add(parsed.code, fileLine)) {
            warnings.push_back({ fileLine,
                u"duplicate code " + Quoted(parsed.code) + u" (first on " + LineText(*first) + u")" });
        }
        const std::u16string_view imageField = FirstValueField(line);
        if (images == LineImages::Checked
            && !(IsWholeNumberText(imageField) && parsed.image >= 1
                && parsed.image <= imageCount(ImageList::SystemIcons))) {
            warnings.push_back({ fileLine,
                u"image " + Quoted(imageField) + u" is not a number from 1 to "
                    + DecimalText(imageCount(ImageList::SystemIcons)) });
        }
    });
    return warnings;
}

std::vector<ObjectFileWarning> CheckTopNodes(const Tree& tree, const NumberedSectionLines& numbered)
{
    std::vector<ObjectFileWarning> warnings;
    // Every prefix item of the nodes seen so far, with the line it came from; the longest one a top
    // node extends is the branch it was meant for.
    CodeLines earlierItems;
    // Their lengths, longest first: only prefixes of these lengths can be found, which keeps a
    // very long code from costing its length squared.
    std::set<std::size_t, std::greater<>> itemLengths;
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        const std::u16string key = node ? node->key() : std::u16string();
        const std::int64_t lineIndex = LineIndexOfKey(key, numbered.lines.size());
        if (lineIndex < 0) {
            continue;
        }
        const std::int32_t fileLine = numbered.fileLines[static_cast<std::size_t>(lineIndex)];
        const std::u16string_view code = FieldView(key, 0, u"/");
        if (!node->parent()) {
            for (auto length = itemLengths.lower_bound(code.size()); length != itemLengths.end(); ++length) {
                const std::u16string_view extended = code.substr(0, *length);
                if (const auto found = earlierItems.find(extended)) {
                    warnings.push_back({ fileLine,
                        Quoted(code) + u" becomes a top node although its code extends " + Quoted(extended)
                            + u" (" + LineText(*found) + u")" });
                    break;
                }
            }
        }
        // Item after item from where the last one ended: a code of many items is read once.
        for (std::u16string_view rest = code; !rest.empty();) {
            const std::u16string_view prefix = FieldView(rest, 0, u",");
            if (prefix.empty()) {
                break;
            }
            itemLengths.insert(prefix.size());
            earlierItems.add(prefix, fileLine);
            rest.remove_prefix(std::min(rest.size(), prefix.size() + 1));
        }
    }
    return warnings;
}

} // namespace vestrak
