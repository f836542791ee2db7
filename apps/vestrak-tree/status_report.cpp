#include "status_report.h"

#include "cistatus/cistatus.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_line.h"
#include "citree/tree_line.h"
#include "object_file/object_file_names.h"
#include "object_file/object_picture.h"
#include "object_file_warnings.h"
#include "report_platform.h"
#include "report_text.h"
#include "text/numeric.h"
#include "text/text.h"
#include "widgets/picture_check.h"

#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace vestrak {

namespace {

// What the file gives an object beyond its line: its information section and its picture.
struct ObjectExtras {
    std::optional<std::size_t> informationLines;
    std::u16string pictureName;
    std::u16string pictureProblem;
};

class ExtrasOfSections {
public:
    // The information sections of all the objects are counted in one reading of the file.
    ExtrasOfSections(const std::u16string& file, const SectionLines& objectLines, FileSystem& files)
        : m_File(file)
        , m_Files(files)
    {
        std::set<std::u16string> sections;
        for (std::size_t index = 0; index < objectLines.size(); ++index) {
            sections.emplace(ParseStatusLine(objectLines[index]).section);
        }
        m_InformationLines = CountSectionLines(sections, file, files);
    }

    const ObjectExtras& of(std::u16string_view section)
    {
        const std::u16string name(section);
        if (const auto found = m_Extras.find(name); found != m_Extras.end()) {
            return found->second;
        }
        ObjectExtras extras;
        if (const auto counted = m_InformationLines.find(ToUpper(name));
            counted != m_InformationLines.end()) {
            extras.informationLines = counted->second;
        }
        if (const std::optional<ObjectPicture> picture = FindObjectPicture(m_Files, m_File, name)) {
            extras.pictureName = picture->fileName;
            extras.pictureProblem = CheckPicture(m_Files, picture->path, PictureBytes::HeaderOnly).problem;
        }
        return m_Extras.emplace(name, std::move(extras)).first->second;
    }

private:
    std::u16string m_File;
    FileSystem& m_Files;
    std::map<std::u16string, std::size_t> m_InformationLines;
    std::map<std::u16string, ObjectExtras> m_Extras;
};

std::u16string Details(const StatusLine& parsed, std::u16string_view statusField, const ObjectExtras& extras)
{
    std::u16string details = u"status " + std::u16string(statusField);
    details += parsed.tagName.empty() ? u", no tag" : u", tag " + Quoted(parsed.tagName);
    if (extras.informationLines) {
        const auto count = static_cast<std::int64_t>(*extras.informationLines);
        details += u", information [" + std::u16string(parsed.section) + u"] " + DecimalText(count)
            + (count == 1 ? u" line" : u" lines");
    } else {
        details += u", no information";
    }
    details += extras.pictureName.empty() ? u", no picture" : u", picture " + extras.pictureName;
    return details;
}

std::vector<ObjectFileWarning> CheckStatusLines(
    const NumberedSectionLines& numbered, ExtrasOfSections& extras)
{
    std::vector<ObjectFileWarning> warnings;
    std::map<std::u16string_view, std::int32_t> firstLineOfTag;
    std::map<std::u16string, bool> pictureWarned;
    ForEachObjectLine(numbered, warnings, [&](std::u16string_view line, std::int32_t fileLine) {
        const StatusLine parsed = ParseStatusLine(line);
        const std::u16string_view statusField = FirstValueField(line);
        const std::int32_t image = parsed.status & StatusImageMask;
        if (!IsWholeNumberText(statusField)) {
            warnings.push_back({ fileLine, u"status " + Quoted(statusField) + u" is not a number" });
        } else if (image < 1 || image > imageCount(ImageList::StatusIcons)) {
            warnings.push_back({ fileLine,
                u"status " + Quoted(statusField) + u" shows no icon: its low byte " + DecimalText(image)
                    + u" is outside 1 to " + DecimalText(imageCount(ImageList::StatusIcons)) });
        }
        if (!parsed.tagName.empty()) {
            if (SpaceTrimmed(parsed.tagName) != parsed.tagName) {
                warnings.push_back({ fileLine,
                    u"tag " + Quoted(parsed.tagName)
                        + u" has blanks around it: the host is asked for it so" });
            }
            const auto [first, added] = firstLineOfTag.try_emplace(parsed.tagName, fileLine);
            if (!added) {
                warnings.push_back({ fileLine,
                    u"tag " + Quoted(parsed.tagName) + u" is used twice (first on line "
                        + DecimalText(first->second) + u")" });
            }
        }
        const ObjectExtras& objectExtras = extras.of(parsed.section);
        if (!objectExtras.pictureProblem.empty() && !pictureWarned[objectExtras.pictureName]) {
            pictureWarned[objectExtras.pictureName] = true;
            warnings.push_back({ fileLine,
                u"picture " + objectExtras.pictureName + u" cannot be read: "
                    + objectExtras.pictureProblem });
        }
    });
    return warnings;
}

} // namespace

bool WriteStatusReport(const StatusReportOptions& options, FileSystem& files, std::ostream& out)
{
    ReportPlatform host(files);
    HeadlessSurface& surface = host.surface();
    CiStatus control(surface, host.platform());
    control.setRootObject(options.root);
    control.setObjectFile(options.file);

    const auto lines = ReadIniSectionLines(std::u16string(TreeObjectsSection), options.file, files);
    std::vector<ObjectFileWarning> warnings;
    const auto& tree = dynamic_cast<const Tree&>(*surface.widget(u"TreeView_Status"));
    if (lines) {
        ExtrasOfSections extras(options.file, lines->lines, files);
        DescribeTree(tree, out, [&](const TreeNode& node) {
            const auto lineIndex = RoundToInt32(LeadingNumber(FieldView(node.key(), 1, u"/")));
            if (!lineIndex || *lineIndex < 0 || static_cast<std::size_t>(*lineIndex) >= lines->lines.size()) {
                return std::u16string();
            }
            const std::u16string_view line = lines->lines[static_cast<std::size_t>(*lineIndex)];
            const StatusLine parsed = ParseStatusLine(line);
            return Details(parsed, FirstValueField(line), extras.of(parsed.section));
        });
        warnings = CheckTopNodes(tree, *lines);
        const auto lineWarnings = CheckStatusLines(*lines, extras);
        warnings.insert(warnings.end(), lineWarnings.begin(), lineWarnings.end());
    } else {
        warnings.push_back(MissingSectionWarning(options.file, TreeObjectsSection, files));
    }
    return DescribeWarnings(std::move(warnings), out);
}

} // namespace vestrak
