#include "tree_report.h"

#include "citree/citree.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "filter_group_warnings.h"
#include "headless/headless_surface.h"
#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux/environment_special_folders.h"
#include "linux/ini_profile.h"
#include "object_file_warnings.h"
#include "procs/encoding.h"
#include "report_text.h"

#include <sstream>

namespace vestrak {

namespace {

// Room for a few hundred rows, so nothing depends on scrolling.
constexpr double SurfaceWidth = 4800;
constexpr double SurfaceHeight = 7200;
// No configuration lookup of the user's may change what the tool reads.
constexpr const char16_t* NoUserProfile = u"";

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
        out << Shown(list.itemText(index)) << "  (line index " << list.itemData(index) << ")\n";
    }
}

} // namespace

bool WriteTreeReport(const TreeReportOptions& options, FileSystem& files, std::ostream& out)
{
    MemorySettingsStore store;
    IniProfile profile(files, NoUserProfile);
    EnvironmentSpecialFolders specialFolders;
    VirtualClock clock;
    const Platform platform { store, profile, specialFolders, files, clock, clock };
    PressFilterButtons(options, store);

    HeadlessSurface surface(SurfaceWidth, SurfaceHeight);
    CiTree control(surface, platform);
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
    // The file is opened again only to tell why it gave no lines; its first piece tells enough.
    if (!lines && !files.readFileInPieces(options.file, [](std::string_view) { return false; })) {
        warnings.push_back({ 0, u"cannot read " + options.file });
    } else if (!lines) {
        warnings.push_back({ 0, u"no section [" + control.ObjectFileSection() + u"] in " + options.file });
    } else {
        const LineImages images
            = options.shape == ReportShape::Tree ? LineImages::Checked : LineImages::Ignored;
        const auto lineWarnings = CheckSectionLines(*lines, images);
        warnings.insert(warnings.end(), lineWarnings.begin(), lineWarnings.end());
        if (options.shape == ReportShape::Tree) {
            const auto groupWarnings = CheckFilterGroups(options.file, *lines, files, profile);
            warnings.insert(warnings.end(), groupWarnings.begin(), groupWarnings.end());
        }
    }
    const bool warned = !warnings.empty();
    DescribeWarnings(std::move(warnings), out);
    return warned;
}

TreeReport MakeTreeReport(const TreeReportOptions& options, FileSystem& files)
{
    std::ostringstream out;
    const bool warned = WriteTreeReport(options, files, out);
    return { std::move(out).str(), warned };
}

} // namespace vestrak
