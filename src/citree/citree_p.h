#pragma once

#include "../citree/citree.h"
#include "../containers/path_set.h"
#include "../diagnostics/log.h"
#include "../object_file/section_bytes.h"
#include "../ports/control_surface.h"
#include "../ports/platform.h"
#include "../ports/signal.h"
#include "../text/wildcard.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace vestrak {

class TreeObjectLines;

// The navigation tree's state and behaviour behind CiTree: the widgets it creates on its surface,
// the lines of the last build, the filter and the collapse timer. CiTree forwards to it and owns
// the events it raises, so that none of this is part of the installed interface.
class CiTreePrivate {
public:
    /// Creates the widgets on the surface and the timers through the platform, then starts up:
    /// ObjectFile becomes CiTree.ini in the SCADA run folder of the user's configuration.
    CiTreePrivate(CiTree& control, ControlSurface& surface, const Platform& platform);
    /// Shuts down: with StyleKeepScrollPosition the scroll position is stored.
    ~CiTreePrivate();
    CiTreePrivate(const CiTreePrivate&) = delete;
    CiTreePrivate& operator=(const CiTreePrivate&) = delete;
    CiTreePrivate(CiTreePrivate&&) = delete;
    CiTreePrivate& operator=(CiTreePrivate&&) = delete;

    ///@{
    /// Path of the object file; read by the next build. Give an absolute path.
    [[nodiscard]] std::u16string ObjectFile() const { return m_ObjectFile; }
    void setObjectFile(const std::u16string& value);
    ///@}
    ///@{
    /// The section a build reads. Until the host sets it, each build chooses TreeObjects (tree, or
    /// list with a RootObject) or ListObjects and stores its choice here.
    [[nodiscard]] std::u16string ObjectFileSection() const { return m_ObjectFileSection; }
    void setObjectFileSection(const std::u16string& value);
    ///@}
    ///@{
    /// Comma list of code prefixes: only the lines whose code starts with one are shown. Next build.
    [[nodiscard]] std::u16string RootObject() const { return m_RootObject; }
    void setRootObject(const std::u16string& value);
    ///@}
    ///@{
    /// The Style bits (StyleHomeButton ...). Setting it stores the bits and builds the list or
    /// tree from the object file at once, also for the same value.
    [[nodiscard]] std::int32_t Style() const { return m_Style; }
    void setStyle(std::int32_t value);
    ///@}
    ///@{
    /// Back colour, 0x00BBGGRR or a system colour (top bit set): the list at once, the tree at
    /// the next build.
    [[nodiscard]] std::int32_t BackColor() const { return static_cast<std::int32_t>(m_BackColor); }
    void setBackColor(std::int32_t value);
    ///@}
    ///@{
    /// Code of the selected object: set by a node click; when the host sets it, the next build
    /// preselects the line whose code's first comma field matches (case ignored). Reads back the
    /// first comma field only.
    [[nodiscard]] std::u16string SelectedObject() const;
    void setSelectedObject(const std::u16string& value);
    ///@}
    ///@{
    /// Extra info (the text after "/") of the selected object, or its code for a line without
    /// "/"; when the host sets it, the next build preselects the line with that extra info.
    [[nodiscard]] std::u16string SelectedObjectExtraInfo() const { return m_SelectedObjectExtraInfo; }
    void setSelectedObjectExtraInfo(const std::u16string& value);
    ///@}
    /// The extra info of the first line of the last build whose code matches SelectedObject.
    /// @throws ControlError when read before the first build.
    [[nodiscard]] std::u16string SelectedObjectExtraKey() const;
    ///@{
    /// Idle seconds after which an expanded, collapsible control collapses; 0 never. A negative
    /// value is stored as 0.
    [[nodiscard]] std::int32_t CollapseTime() const { return m_CollapseTime; }
    void setCollapseTime(std::int32_t value);
    ///@}
    /// Width in pixels that expanding gives the control; below 1 (or a height below 1): the size
    /// it had when Style was first set.
    void setExpandedWidth(std::int32_t value);
    /// Height in pixels that expanding gives the control; see setExpandedWidth().
    void setExpandedHeight(std::int32_t value);
    /// Shows (not 0) or hides (0) the tree or list at once.
    void setVisible(std::int32_t value);

    /// The layout; the container calls it after it has resized the surface.
    void UserControl_Resize();

    /// The operator clicked the Home button.
    Event& Click;
    /// The operator selected a node or list item; SelectedObject and its companions are set.
    Event& NodeClick;
    /// The operator double-clicked the tree or the list.
    Event& NodeDoubleClick;

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
    class TreeLineJudge;
    struct JudgedLine;
    struct TreeBuild;
    class TreeLineBatches;
    void AddTreeLine(TreeBuild& build, std::size_t index, std::string_view bytes, const JudgedLine& judged);
    void FinishTree(const BuiltTree& built);
    [[nodiscard]] bool LinesKept(const std::optional<FileStamp>& stamp) const;
    [[nodiscard]] SectionBytes RoomForLines();
    void NoteLinesRead(const std::optional<FileStamp>& stamp);
    void ReadLines();
    [[nodiscard]] PathSet StoredOpenNodes();
    void RestoreScrollPosition();
    void ExpandAllNodes();

    // Filtering
    void PrepareFilter();
    [[nodiscard]] FilterState TakeFilterState() const;
    [[nodiscard]] static bool KeepsLine(FilterState& filter, std::int32_t image, std::u16string_view text);
    // The same for a text of plain ASCII bytes.
    [[nodiscard]] static bool KeepsAsciiLine(
        const FilterState& filter, std::int32_t image, std::string_view text);
    [[nodiscard]] static bool MatchesUpperText(const FilterState& filter);
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
    void TreeView_Objects_KeyDown();
    void TreeView_Objects_Scroll();
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
    std::shared_ptr<TreeObjectLines> m_Lines;
    // The file, section and stamp the lines were read from.
    std::u16string m_LinesFile;
    std::u16string m_LinesSection;
    std::optional<FileStamp> m_LinesStamp;
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
    // Last, so that the widgets stop calling the handlers before what they use goes.
    Connections m_Connections;
};

} // namespace vestrak
