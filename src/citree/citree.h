#pragma once

#include "../export.h"
#include "../ports/control_surface.h"
#include "../ports/platform.h"
#include "../ports/signal.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vestrak {

class CiTreePrivate;

/// @name Style bits
/// The bits of CiTree::Style(); bits not listed have no effect. docs/reference.md has the table.
///@{
/// Shows the Home button (top left); Up and Down sit to its right.
inline constexpr std::int32_t StyleHomeButton = 0x1;
/// The Up and Down buttons hide and show the tree or list.
inline constexpr std::int32_t StyleUpDownButtons = 0x2;
/// List mode: the objects in a flat list; wins over StyleObjectTree.
inline constexpr std::int32_t StyleObjectList = 0x4;
/// Tree mode: the objects in a tree.
inline constexpr std::int32_t StyleObjectTree = 0x8;
/// The list or tree is shown at the end of the build.
inline constexpr std::int32_t StyleShowObjects = 0x10;
/// Every node is opened at the end of the build.
inline constexpr std::int32_t StyleExpandAll = 0x40;
/// Collapsible; the build ends collapsed to the small expand button.
inline constexpr std::int32_t StyleStartCollapsed = 0x100;
/// Collapsible; the build ends expanded (only without StyleStartCollapsed).
inline constexpr std::int32_t StyleStartExpanded = 0x200;
/// Open branches and the last clicked node are kept per user and reopened by each build.
inline constexpr std::int32_t StyleKeepOpenNodes = 0x400;
/// The scroll position is kept per user when the control ends and restored by each build.
inline constexpr std::int32_t StyleKeepScrollPosition = 0x1000;
/// Timings go to the diagnostic log VestrakControls.log.
inline constexpr std::int32_t StyleDiagnosticLog = 0x10000;
///@}

/// The navigation tree of an operator page: shows one section of an object file as a tree (or a
/// flat list) below chosen roots, lets the operator filter and pick an object, and reports the
/// choice through its events and selection properties. Per-user state (open branches, last
/// clicked node, filter state, scroll position) lives in the settings store.
///
/// Setters only store, except setStyle() (builds), setBackColor() (colours the list at once)
/// and setVisible(): set the other properties first and Style last. Positions are twips; the
/// controls never throw but from SelectedObjectExtraKey().
class VESTRAK_CONTROLS_EXPORT CiTree {
public:
    /// Creates the widgets on the surface and the timers through the platform, then starts up:
    /// ObjectFile becomes CiTree.ini in the SCADA run folder of the user's configuration.
    CiTree(ControlSurface& surface, const Platform& platform);
    /// Shuts down: with StyleKeepScrollPosition the scroll position is stored.
    ~CiTree();
    CiTree(const CiTree&) = delete;
    CiTree& operator=(const CiTree&) = delete;
    CiTree(CiTree&&) = delete;
    CiTree& operator=(CiTree&&) = delete;

    ///@{
    /// Path of the object file; read by the next build. Give an absolute path.
    [[nodiscard]] std::u16string ObjectFile() const;
    void setObjectFile(const std::u16string& value);
    ///@}
    ///@{
    /// The section a build reads. Until the host sets it, each build chooses TreeObjects (tree, or
    /// list with a RootObject) or ListObjects and stores its choice here.
    [[nodiscard]] std::u16string ObjectFileSection() const;
    void setObjectFileSection(const std::u16string& value);
    ///@}
    ///@{
    /// Comma list of code prefixes: only the lines whose code starts with one are shown. Next build.
    [[nodiscard]] std::u16string RootObject() const;
    void setRootObject(const std::u16string& value);
    ///@}
    ///@{
    /// The Style bits (StyleHomeButton ...). Setting it stores the bits and builds the list or
    /// tree from the object file at once, also for the same value.
    [[nodiscard]] std::int32_t Style() const;
    void setStyle(std::int32_t value);
    ///@}
    ///@{
    /// Back colour, 0x00BBGGRR or a system colour (top bit set): the list at once, the tree at
    /// the next build.
    [[nodiscard]] std::int32_t BackColor() const;
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
    [[nodiscard]] std::u16string SelectedObjectExtraInfo() const;
    void setSelectedObjectExtraInfo(const std::u16string& value);
    ///@}
    /// The extra info of the first line of the last build whose code matches SelectedObject.
    /// @throws ControlError when read before the first build.
    [[nodiscard]] std::u16string SelectedObjectExtraKey() const;
    ///@{
    /// Idle seconds after which an expanded, collapsible control collapses; 0 never. A negative
    /// value is stored as 0.
    [[nodiscard]] std::int32_t CollapseTime() const;
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
    Event Click;
    /// The operator selected a node or list item; SelectedObject and its companions are set.
    Event NodeClick;
    /// The operator double-clicked the tree or the list.
    Event NodeDoubleClick;

private:
    // Declared after the events it raises, so that it ends (and shuts down) before them.
    const std::unique_ptr<CiTreePrivate> d;
};

} // namespace vestrak
