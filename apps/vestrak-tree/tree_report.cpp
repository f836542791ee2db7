#include "tree_report.h"

#include "citree/citree.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "headless/headless_surface.h"
#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux/environment_special_folders.h"
#include "linux/ini_profile.h"
#include "object_file_warnings.h"
#include "procs/encoding.h"

#include <algorithm>

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

std::int32_t Depth(const NodeRef& node)
{
    std::int32_t depth = 0;
    for (NodeRef parent = node->parent(); parent; parent = parent->parent()) {
        ++depth;
    }
    return depth;
}

std::u16string DescribeTree(const Tree& tree)
{
    std::u16string text;
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        text += std::u16string(2 * static_cast<std::size_t>(Depth(node)), u' ') + node->key() + u"  "
            + node->text() + u"  (image " + DecimalText(node->image()) + u")\n";
    }
    return text;
}

std::u16string DescribeList(const ListBox& list)
{
    std::u16string text;
    for (std::int32_t index = 0; index < list.count(); ++index) {
        text += list.itemText(index) + u"  (line index " + DecimalText(list.itemData(index)) + u")\n";
    }
    return text;
}

std::u16string DescribeWarnings(std::vector<ObjectFileWarning> warnings)
{
    std::stable_sort(
        warnings.begin(), warnings.end(), [](const ObjectFileWarning& one, const ObjectFileWarning& other) {
            return one.fileLine < other.fileLine;
        });
    std::u16string text;
    for (const ObjectFileWarning& warning : warnings) {
        text += u"warning: ";
        if (warning.fileLine > 0) {
            text += u"line " + DecimalText(warning.fileLine) + u": ";
        }
        text += warning.message + u"\n";
    }
    return text;
}

} // namespace

TreeReport MakeTreeReport(const TreeReportOptions& options, FileSystem& files)
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

    std::u16string text;
    std::vector<ObjectFileWarning> warnings;
    const auto lines = ReadIniSectionLines(control.ObjectFileSection(), options.file, files);
    if (options.shape == ReportShape::List) {
        text = DescribeList(dynamic_cast<const ListBox&>(*surface.widget(u"List_Objects")));
    } else {
        const auto& tree = dynamic_cast<const Tree&>(*surface.widget(u"TreeView_Objects"));
        text = DescribeTree(tree);
        if (lines) {
            warnings = CheckTopNodes(tree, *lines);
        }
    }
    if (!files.readFile(options.file)) {
        warnings.push_back({ 0, u"cannot read " + options.file });
    } else if (!lines) {
        warnings.push_back({ 0, u"no section [" + control.ObjectFileSection() + u"] in " + options.file });
    } else {
        const LineImages images
            = options.shape == ReportShape::Tree ? LineImages::Checked : LineImages::Ignored;
        const auto lineWarnings = CheckSectionLines(*lines, images);
        warnings.insert(warnings.end(), lineWarnings.begin(), lineWarnings.end());
    }
    const bool warned = !warnings.empty();
    text += DescribeWarnings(std::move(warnings));
    return { ToUtf8(text), warned };
}

} // namespace vestrak
