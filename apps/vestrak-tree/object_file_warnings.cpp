#include "object_file_warnings.h"

#include "citree/tree_line.h"
#include "ports/image_lists.h"
#include "procs/numeric.h"
#include "procs/text.h"

#include <functional>
#include <set>
#include <unordered_map>

namespace vestrak {

namespace {

std::u16string Quoted(const std::u16string& text)
{
    return u"\"" + text + u"\"";
}

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

} // namespace

std::vector<ObjectFileWarning> CheckSectionLines(const std::vector<SectionLine>& lines, LineImages images)
{
    std::vector<ObjectFileWarning> warnings;
    std::unordered_map<std::u16string, std::int32_t> firstLineOfCode;
    for (const SectionLine& line : lines) {
        if (line.text.find(u'=') == std::u16string::npos) {
            warnings.push_back({ line.fileLine, u"no \"=\" in " + Quoted(line.text) });
            continue;
        }
        const TreeLine parsed = ReadTreeLine(line.text);
        const auto [first, isNew] = firstLineOfCode.emplace(parsed.code, line.fileLine);
        if (!isNew) {
            warnings.push_back({ line.fileLine,
                u"duplicate code " + Quoted(parsed.code) + u" (first on " + LineText(first->second) + u")" });
        }
        if (images == LineImages::Checked
            && !(parsed.image >= 1 && parsed.image <= imageCount(ImageList::SystemIcons))) {
            warnings.push_back({ line.fileLine,
                u"image " + DecimalText(parsed.image) + u" is outside 1 to "
                    + DecimalText(imageCount(ImageList::SystemIcons)) });
        }
    }
    return warnings;
}

std::vector<ObjectFileWarning> CheckTopNodes(const Tree& tree, const std::vector<SectionLine>& lines)
{
    std::vector<ObjectFileWarning> warnings;
    // Every prefix item of the nodes seen so far, with the line it came from; the longest one a top
    // node extends is the branch it was meant for.
    std::unordered_map<std::u16string, std::int32_t> earlierItems;
    // Their lengths, longest first: only prefixes of these lengths can be found, which keeps a
    // very long code from costing its length squared.
    std::set<std::size_t, std::greater<>> itemLengths;
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        const std::u16string key = node ? node->key() : std::u16string();
        const std::int64_t lineIndex = LineIndexOfKey(key, lines.size());
        if (lineIndex < 0) {
            continue;
        }
        const std::int32_t fileLine = lines[static_cast<std::size_t>(lineIndex)].fileLine;
        const std::u16string code = GetField(key, 0, u"/");
        if (!node->parent()) {
            for (auto length = itemLengths.lower_bound(code.size()); length != itemLengths.end(); ++length) {
                const auto found = earlierItems.find(code.substr(0, *length));
                if (found != earlierItems.end()) {
                    warnings.push_back({ fileLine,
                        Quoted(code) + u" becomes a top node although its code extends "
                            + Quoted(found->first) + u" (" + LineText(found->second) + u")" });
                    break;
                }
            }
        }
        for (std::int32_t item = 0;; ++item) {
            std::u16string prefix = GetField(code, item, u",");
            if (prefix.empty()) {
                break;
            }
            itemLengths.insert(prefix.size());
            earlierItems.emplace(std::move(prefix), fileLine);
        }
    }
    return warnings;
}

} // namespace vestrak
