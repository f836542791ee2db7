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

// Control characters of a garbage file would act on the terminal the report is read on: they are
// shown as their pictures (C0 and DEL) or as their code point (C1) instead.
std::string Shown(std::u16string_view text)
{
    constexpr char16_t FirstControlPicture = 0x2400;
    constexpr char16_t DeletePicture = 0x2421;
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit < 0x20) {
            shown += static_cast<char16_t>(FirstControlPicture + unit);
        } else if (unit == 0x7F) {
            shown += DeletePicture;
        } else if (unit >= 0x80 && unit <= 0x9F) {
            constexpr std::u16string_view Digits = u"0123456789ABCDEF";
            shown += u"<U+00";
            shown += Digits[unit >> 4];
            shown += Digits[unit & 0xF];
            shown += u'>';
        } else {
            shown += unit;
        }
    }
    return ToUtf8(shown);
}

// One line a node, in the order of the node collection, where a parent comes before its children:
// a node's depth is its parent's plus one.
void DescribeTree(const Tree& tree, std::ostream& out)
{
    std::vector<std::int32_t> depths(static_cast<std::size_t>(tree.count()) + 1, 0);
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        const NodeRef parent = node->parent();
        const std::int32_t depth = parent ? depths[static_cast<std::size_t>(parent->index())] + 1 : 0;
        depths[static_cast<std::size_t>(index)] = depth;
        out << std::string(2 * static_cast<std::size_t>(depth), ' ') << Shown(node->key()) << "  "
            << Shown(node->text()) << "  (image " << node->image() << ")\n";
    }
}

void DescribeList(const ListBox& list, std::ostream& out)
{
    for (std::int32_t index = 0; index < list.count(); ++index) {
        out << Shown(list.itemText(index)) << "  (line index " << list.itemData(index) << ")\n";
    }
}

void DescribeWarnings(std::vector<ObjectFileWarning> warnings, std::ostream& out)
{
    std::stable_sort(
        warnings.begin(), warnings.end(), [](const ObjectFileWarning& one, const ObjectFileWarning& other) {
            return one.fileLine < other.fileLine;
        });
    for (const ObjectFileWarning& warning : warnings) {
        out << "warning: ";
        if (warning.fileLine > 0) {
            out << "line " << warning.fileLine << ": ";
        }
        out << Shown(warning.message) << "\n";
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
