#pragma once

#include "../export.h"
#include "../ports/control_surface.h"
#include "../ports/platform.h"
#include "../ports/signal.h"
#include "../procs/log.h"
#include "../procs/path_set.h"
#include "../procs/section_lines.h"
#include "../procs/wildcard.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace vestrak {

// The bits of the Style property; bits not listed have no effect.
inline constexpr std::int32_t StyleHomeButton = 0x1;
inline constexpr std::int32_t StyleUpDownButtons = 0x2;
inline constexpr std::int32_t StyleObjectList = 0x4;
inline constexpr std::int32_t StyleObjectTree = 0x8;
inline constexpr std::int32_t StyleShowObjects = 0x10;
inline constexpr std::int32_t StyleExpandAll = 0x40;
inline constexpr std::int32_t StyleStartCollapsed = 0x100;
inline constexpr std::int32_t StyleStartExpanded = 0x200;
inline constexpr std::int32_t StyleKeepOpenNodes = 0x400;
inline constexpr std::int32_t StyleKeepScrollPosition = 0x1000;
inline constexpr std::int32_t StyleDiagnosticLog = DiagnosticLogFlag;

// The navigation tree of an operator page: shows one section of an object file as a tree (or a
// flat list) below chosen roots, lets the operator filter and pick an object, and reports the
// choice through its events and selection properties. Per-user state (open branches, last
// clicked node, filter state, scroll position) lives in the settings store.
class VESTRAK_CONTROLS_EXPORT CiTree {
public:
    // Creates the widgets on the surface and the timers through the platform, then starts up.
    CiTree(ControlSurface& surface, const Platform& platform);
    ~CiTree();
    CiTree(const CiTree&) = delete;
    CiTree& operator=(const CiTree&) = delete;
    CiTree(CiTree&&) = delete;
    CiTree& operator=(CiTree&&) = delete;

    [[nodiscard]] std::u16string ObjectFile() const { return m_ObjectFile; }
    void setObjectFile(const std::u16string& value);
    [[nodiscard]] std::u16string ObjectFileSection() const { return m_ObjectFileSection; }
    void setObjectFileSection(const std::u16string& value);
    [[nodiscard]] std::u16string RootObject() const { return m_RootObject; }
    void setRootObject(const std::u16string& value);
    [[nodiscard]] std::int32_t Style() const { return m_Style; }
    // Stores the bits and builds the list or tree from the object file, also for the same value.
    void setStyle(std::int32_t value);
    [[nodiscard]] std::int32_t BackColor() const { return static_cast<std::int32_t>(m_BackColor); }
    void setBackColor(std::int32_t value);
    [[nodiscard]] std::u16string SelectedObject() const;
    void setSelectedObject(const std::u16string& value);
    [[nodiscard]] std::u16string SelectedObjectExtraInfo() const { return m_SelectedObjectExtraInfo; }
    void setSelectedObjectExtraInfo(const std::u16string& value);
    // Throws ControlError when read before the first build.
    [[nodiscard]] std::u16string SelectedObjectExtraKey() const;
    [[nodiscard]] std::int32_t CollapseTime() const { return m_CollapseTime; }
    void setCollapseTime(std::int32_t value);
    void setExpandedWidth(std::int32_t value);
    void setExpandedHeight(std::int32_t value);
    void setVisible(std::int32_t value);

    // The layout; the container calls it after it has resized the surface.
    void UserControl_Resize();

    Event Click;
    Event NodeClick;
    Event NodeDoubleClick;

private:
    struct FilterState {
        bool textOn = false;
        // One wildcard pattern per filter word, upper-cased.
        std::vector<WildcardPattern> patterns;
        bool groupOn = false;
        // The images whose group button is up: their lines are left out while groupOn.
        std::unordered_set<std::int32_t> imagesOfUpGroups;
        // The upper-cased text of the line being filtered, its room serving every line.
        std::u16string upperText;
    };

    void ConnectWidgetEvents();
    void DisconnectWidgetEvents();
    [[nodiscard]] bool HasStyle(std::int32_t bit) const { return (m_Style & bit) != 0; }
    [[nodiscard]] bool Collapsible() const;
    void WriteMarker(const std::u16string& message);
    [[nodiscard]] std::u16string Setting(
        const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue);
    void SaveSetting(const std::u16string& section, const std::u16string& key, const std::u16string& value);

    // Building
    void PlaceNavigationButtons();
    void BuildObjectList();
    void PlaceObjectList();
    void ShowUpButtonBesideObjects();
    // What finishing a tree needs of its build: whether the group filter acted, and with kept open
    // branches the first node whose full path is the last clicked one.
    struct BuiltTree {
        bool groupOn = false;
        NodeRef lastClicked;
    };
    [[nodiscard]] BuiltTree BuildTree();
    void FinishTree(const BuiltTree& built);
    void ReadLines();
    [[nodiscard]] PathSet StoredOpenNodes();
    void RestoreScrollPosition();
    void ExpandAllNodes();

    // Filtering
    void PrepareFilter();
    [[nodiscard]] FilterState TakeFilterState() const;
    [[nodiscard]] static bool KeepsLine(FilterState& filter, std::int32_t image, std::u16string_view text);
    void TidyUpGroupFilter();
    [[nodiscard]] ButtonRef FilterButton() const;
    void Text_Filter_KeyPress(std::int16_t& keyAscii);
    void Toolbar_Filter_ButtonClick(const ButtonRef& button);
    void Toolbar_SystemFilter_ButtonClick(const ButtonRef& button);
    void Timer_Filter_Timer();

    // Selection and navigation
    [[nodiscard]] bool SelectLine(std::int64_t lineIndex);
    void TreeView_Objects_NodeClick(const NodeRef& node);
    void TreeView_Objects_Expand(const NodeRef& node);
    void TreeView_Objects_Collapse(const NodeRef& node);
    void TreeView_Objects_Click();
    void TreeView_Objects_DblClick();
    void TreeView_Objects_MouseMove();
    void List_Objects_Click();
    void List_Objects_DblClick();
    void Command_Home_Click();
    void Command_Up_Click();
    void Command_Down_Click();

    // Layout, collapse and expand
    void ShowFilterRowWhenGroupsExist();
    void Command_Collapse_Click();
    void Command_Expand_Click();
    void Timer_Collapse_Timer();

    // Start-up and shut-down
    void UserControl_Initialize();
    void UserControl_Terminate();

    // Scroll position and appearance
    [[nodiscard]] std::int32_t GetScrollPosition() const;
    void SetScrollPosition(const std::int32_t& position);
    void SetTreeBackColor(const std::uint32_t& color);

    ControlSurface& m_Surface;
    Platform m_Platform;
    LogServices m_LogServices;

    CommandButton& Command_Home;
    CommandButton& Command_Down;
    CommandButton& Command_Up;
    ListBox& List_Objects;
    TextBox& Text_Filter;
    Toolbar& Toolbar_Filter;
    Toolbar& Toolbar_SystemFilter;
    Tree& TreeView_Objects;
    CommandButton& Command_Expand;
    CommandButton& Command_Collapse;
    std::unique_ptr<Timer> Timer_Filter;
    std::unique_ptr<Timer> Timer_Collapse;

    std::u16string m_ObjectFile;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    std::u16string m_ObjectFileSection;
    bool m_SectionSet = false;
    std::u16string m_RootObject;
    std::u16string m_SelectedObject;
    std::u16string m_SelectedObjectExtraInfo;
    bool m_FilterRebuild = false;
    bool m_FilterChanged = false;
    // The data lines of the section the last build read; nothing before the first build.
    std::optional<SectionLines> m_Lines;
    std::int32_t m_SelectedLine = 0;
    std::int32_t m_Style = 0;
    bool m_Building = false;
    bool m_FirstSizeTaken = false;
    std::int32_t m_FirstWidth = 0;
    std::int32_t m_FirstHeight = 0;
    bool m_Collapsed = false;
    std::int32_t m_CollapseCountdown = 0;
    std::int32_t m_CollapseTime = 0;
    std::int32_t m_ExpandedHeight = 0;
    std::int32_t m_ExpandedWidth = 0;
    float m_LogTime = 0;
    bool m_FocusFilterText = false;
};

} // namespace vestrak
