#include "filter_group_warnings.h"

#include "citree/tree_line.h"
#include "ports/image_lists.h"
#include "text/numeric.h"
#include "text/text.h"

#include <map>
#include <set>

namespace vestrak {

namespace {

// Images up to this one stand for structure nodes, which no group button covers.
constexpr std::int32_t HighestStructureImage = 3;

// The file line of the first data line of a section whose key (the text before "=") is the key,
// compared ignoring case, as the profile lookup finds keys; 0 when there is none.
std::int32_t FileLineOfKey(const NumberedSectionLines& section, std::u16string_view key)
{
    const std::u16string upperKey = ToUpper(key);
    for (std::size_t index = 0; index < section.lines.size(); ++index) {
        if (ToUpper(SpaceTrimmed(FieldView(section.lines[index], 0, u"="))) == upperKey) {
            return section.fileLines[index];
        }
    }
    return 0;
}

} // namespace

std::vector<ObjectFileWarning> CheckFilterGroups(
    const std::u16string& file, const NumberedSectionLines& treeLines, FileSystem& files, Profile& profile)
{
    std::vector<ObjectFileWarning> warnings;
    const auto general = ReadIniSectionLines(u"General", file, files).value_or(NumberedSectionLines {});
    const auto names
        = ReadIniSectionLines(u"FilterGroupNames", file, files).value_or(NumberedSectionLines {});
    const std::int32_t allowedLine = FileLineOfKey(general, u"AllowedFilterGroups");
    const std::u16string allowed
        = TrimSpaces(ReadIniValue(u"General", u"AllowedFilterGroups", u"", file, profile));

    // The images whose lines a group button hides, and the groups as written.
    std::set<std::int32_t> groupImages;
    std::set<std::u16string> writtenGroups;
    for (std::int32_t item = 0;; ++item) {
        const std::u16string group = TrimSpaces(GetField(allowed, item, u","));
        if (group.empty()) {
            break;
        }
        writtenGroups.insert(ToUpper(group));
        const auto image = RoundToInt32(LeadingNumber(group));
        const std::u16string where = u"filter group " + Quoted(group);
        if (!image || *image <= HighestStructureImage) {
            warnings.push_back({ allowedLine, where + u" makes no button: groups are numbers from 4" });
            continue;
        }
        if (group != DecimalText(*image)) {
            warnings.push_back({ allowedLine,
                where + u" makes a button that hides nothing: write it as " + DecimalText(*image) });
            continue;
        }
        if (*image > imageCount(ImageList::SystemIcons)) {
            warnings.push_back({ allowedLine,
                where + u" has no image: images go from 1 to "
                    + DecimalText(imageCount(ImageList::SystemIcons)) });
        }
        if (ReadIniValue(u"FilterGroupNames", group, u"", file, profile).empty()) {
            warnings.push_back({ allowedLine, where + u" has no name in [FilterGroupNames]" });
        }
        groupImages.insert(*image);
    }
    for (std::size_t index = 0; index < names.lines.size(); ++index) {
        const std::u16string_view group = SpaceTrimmed(FieldView(names.lines[index], 0, u"="));
        if (!writtenGroups.contains(ToUpper(group))) {
            warnings.push_back({ names.fileLines[index],
                u"[FilterGroupNames] names group " + Quoted(group)
                    + u", which AllowedFilterGroups does not list" });
        }
    }
    if (groupImages.empty()) {
        return warnings;
    }

    // The first line of each image above the structure images.
    std::map<std::int32_t, std::int32_t> firstLineOfImage;
    TreeLine parsed;
    for (std::size_t index = 0; index < treeLines.lines.size(); ++index) {
        ReadTreeLine(treeLines.lines[index], parsed);
        if (parsed.image > HighestStructureImage) {
            firstLineOfImage.try_emplace(parsed.image, treeLines.fileLines[index]);
        }
    }
    for (const std::int32_t image : groupImages) {
        if (!firstLineOfImage.contains(image)) {
            warnings.push_back({ allowedLine,
                u"filter group " + DecimalText(image) + u" has no line with image " + DecimalText(image) });
        }
    }
    for (const auto& [image, fileLine] : firstLineOfImage) {
        if (!groupImages.contains(image)) {
            warnings.push_back({ fileLine,
                u"image " + DecimalText(image)
                    + u" has no filter group button: its lines stay when groups are filtered" });
        }
    }
    return warnings;
}

} // namespace vestrak
