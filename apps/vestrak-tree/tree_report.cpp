#include "tree_report.h"

#include "citree/citree.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "filter_group_warnings.h"
#include "object_file_warnings.h"
#include "report_platform.h"
#include "report_text.h"
#include "text/output_text.h"

#include <sstream>

namespace vestrak {

namespace {

void PressFilterButtons(const TreeReportOptions& options, SettingsStore& store)
{
    if (options.filterText) {
        store.SaveSetting(SettingsApplication, PressedFilterButtonsSection, FilterButtonStateKey, u"1");
        store.SaveSetting(
            SettingsApplication, PressedFilterButtonsSection, FilterTextKey, *options.filterText);
    }
    for (const std::u16string& group : options.groups) {
        store.SaveSetting(SettingsApplication, PressedFilterButtonsSection, group, u"1");
    }
}

void DescribeList(const ListBox& list, std::ostream& out)
{
    for (std::int32_t index = 0; index < list.count(); ++index) {
        out << PrintableText(list.itemText(index)) << "  (line index " << list.itemData(index) << ")\n";
    }
}

} // namespace

bool WriteTreeReport(const TreeReportOptions& options, FileSystem& files, std::ostream& out)
{
    ReportPlatform host(files);
    PressFilterButtons(options, host.settings());
    HeadlessSurface& surface = host.surface();
    CiTree control(surface, host.platform());
    control.setObjectFile(options.file);
    if (options.section) {
        control.setObjectFileSection(*options.section);
    }
    control.setRootObject(options.root);
    const std::int32_t shapeStyle = options.shape == ReportShape::List ? StyleObjectList : StyleObjectTree;
    control.setStyle(shapeStyle | StyleShowObjects);

    std::vector<ObjectFileWarning> warnings;
    const auto lines = ReadIniSectionLines(control.ObjectFileSection(), options.file, files);
    if (options.shape == ReportShape::List) {
        DescribeList(dynamic_cast<const ListBox&>(*surface.widget(u"List_Objects")), out);
    } else {
        const auto& tree = dynamic_cast<const Tree&>(*surface.widget(u"TreeView_Objects"));
        DescribeTree(tree, out);
        if (lines) {
            warnings = CheckTopNodes(tree, *lines);
        }
    }
    if (!lines) {
        warnings.push_back(MissingSectionWarning(options.file, control.ObjectFileSection(), files));
    } else {
        const LineImages images
            = options.shape == ReportShape::Tree ? LineImages::Checked : LineImages::Ignored;
        const auto lineWarnings = CheckSectionLines(*lines, images);
        warnings.insert(warnings.end(), lineWarnings.begin(), lineWarnings.end());
        if (options.shape == ReportShape::Tree) {
            const auto groupWarnings = CheckFilterGroups(options.file, *lines, files, host.profile());
            warnings.insert(warnings.end(), groupWarnings.begin(), groupWarnings.end());
        }
    }
    return DescribeWarnings(std::move(warnings), out);
}

TreeReport MakeTreeReport(const TreeReportOptions& options, FileSystem& files)
{
    std::ostringstream out;
    const bool warned = WriteTreeReport(options, files, out);
    return { std::move(out).str(), warned };
}

} // namespace vestrak
