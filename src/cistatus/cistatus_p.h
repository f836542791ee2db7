#pragma once

#include "../cistatus/cistatus.h"
#include "../cistatus/cstatus.h"
#include "../cistatus/status_records.h"
#include "../containers/path_set.h"
#include "../ports/control_surface.h"
#include "../ports/platform.h"
#include "../ports/signal.h"
#include "../ports/timer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vestrak {

// The status tree's state and behaviour behind CiStatus: its widgets and timers, the status
// records and the query cursor. CiStatus forwards to it and owns the events it raises, so that
// none of this is part of the installed interface.
class CiStatusPrivate {
public:
    static constexpr std::int32_t BehaviourInheritStatus = CiStatus::BehaviourInheritStatus;
    static constexpr std::int32_t BehaviourMuteInherited = CiStatus::BehaviourMuteInherited;
    static constexpr std::int32_t BehaviourUnknownAboveGood = CiStatus::BehaviourUnknownAboveGood;

    /// Creates the widgets on the surface and the timers through the platform; the flash timer
    /// (500 ms) runs from now on.
    CiStatusPrivate(CiStatus& control, ControlSurface& surface, const Platform& platform);
    /// Stops the timers.
    ~CiStatusPrivate();
    CiStatusPrivate(const CiStatusPrivate&) = delete;
    CiStatusPrivate& operator=(const CiStatusPrivate&) = delete;

    ///@{
    /// Path of the object file. Setting it (again) loads the tree from its section TreeObjects,
    /// reopens the branches and the selection kept for the user and starts the status queries.
    [[nodiscard]] std::u16string ObjectFile() const { return m_ObjectFile; }
    void setObjectFile(const std::u16string& value);
    ///@}
    ///@{
    /// Comma list of code prefixes that limits the tree; takes effect at the next load.
    [[nodiscard]] std::u16string RootObject() const { return m_RootObject; }
    void setRootObject(const std::u16string& value) { m_RootObject = value; }
    ///@}

    /// The status query: moves to the next object with a tag name and returns that tag; empty at
    /// the end, after which the next read starts again at the first object.
    [[nodiscard]] std::u16string ObjectTagName();
    ///@{
    /// The status of the object under the query cursor; -1 when there is none. Setting it stores
    /// the status (shown at the next flash tick) and delays the next GetStatus.
    [[nodiscard]] std::int32_t ObjectStatus() const;
    void setObjectStatus(std::int32_t value);
    ///@}
    ///@{
    /// Milliseconds between GetStatus events, in whole ticks of 100 ms; 2000 at the start.
    [[nodiscard]] std::int32_t UpdateInterval() const { return m_UpdateInterval; }
    void setUpdateInterval(std::int32_t value) { m_UpdateInterval = value; }
    ///@}
    ///@{
    /// The Behaviour bits (BehaviourInheritStatus, BehaviourMuteInherited,
    /// BehaviourUnknownAboveGood); next flash tick.
    [[nodiscard]] std::int32_t Behaviour() const { return m_BehaviourFlags; }
    void setBehaviour(std::int32_t value)
    {
        m_BehaviourFlags = value;
        m_StatusesChanged = true;
    }
    ///@}

    /// The text of the node clicked last; empty when there is none.
    [[nodiscard]] std::u16string SelectedNode() const;
    /// The code of the object clicked last, which tells objects of the same text apart; empty
    /// when there is none.
    [[nodiscard]] std::u16string SelectedNodeCode() const;
    /// The tag name of the object clicked last; empty when there is none or it has no tag.
    [[nodiscard]] std::u16string SelectedNodeTagName() const;

    /// "Name/Caption" adds a menu item; the empty text clears the menu.
    void setPopupMenuItem(const std::u16string& nameAndCaption);
    /// The name of the popup menu item chosen last.
    [[nodiscard]] std::u16string SelectedPopupMenuItem() const { return m_SelectedPopupMenuItem; }

    ///@{
    /// The background of the nodes made by the next load: 0x00BBGGRR, or a system colour when
    /// the top bit is set.
    [[nodiscard]] std::int32_t BackColor() const { return static_cast<std::int32_t>(m_BackColor); }
    void setBackColor(std::int32_t value) { m_BackColor = static_cast<std::uint32_t>(value); }
    ///@}
    ///@{
    /// -1 when the picture box is shown, else 0; any value other than 0 shows it, at once.
    [[nodiscard]] std::int32_t PictureVisible() const;
    void setPictureVisible(std::int32_t value);
    ///@}
    ///@{
    /// Width of the picture box in screen pixels, at once.
    [[nodiscard]] std::int32_t PictureWidth() const;
    void setPictureWidth(std::int32_t value);
    ///@}
    ///@{
    /// Height of the information text box in screen pixels; takes effect at the next resize.
    [[nodiscard]] std::int32_t TextHeight() const;
    void setTextHeight(std::int32_t value);
    ///@}

    /// Lays the widgets out over the surface; the container runs it after each resize.
    void UserControl_Resize();

    /// Every UpdateInterval once a file is loaded: answer through ObjectTagName() and setObjectStatus().
    Event& GetStatus;
    /// The operator clicked a node; its information and picture are shown. Read SelectedNode(),
    /// SelectedNodeCode() or SelectedNodeTagName().
    Event& NodeClick;
    /// The operator double-clicked the tree.
    Event& NodeDblClick;
    /// The operator chose a popup menu item. Read SelectedPopupMenuItem().
    Event& PopupMenuItemClick;

private:
    void connectWidgetEvents();
    void UserControl_Initialize();
    void UserControl_Terminate();

    void loadStatusObjects();
    // While loading: the record added last and its ancestors, for the parent search.
    struct LoadChain;
    class StatusLineBatches;
    void addStatusObject(StatusTexts texts, const StatusRecords::Chunk& chunk, std::uint32_t lineIndex,
        std::int32_t status, LoadChain& chain);
    // The branches the user left open and the node selected, as stored.
    struct StoredTreeState {
        PathSet expandedPaths;
        std::u16string selectedPath;
    };
    [[nodiscard]] StoredTreeState readStoredTreeState() const;
    void restoreExpandedAndSelectedNodes(const StoredTreeState& stored);

    void Timer_Update_Timer();
    void Timer_Flash_Timer();
    // The statuses risen to the branches and every icon set, in one pass from the last record.
    void inheritStatusesAndShowIcons();
    // The positions of the parents' records of the records from first on, NoParentPosition for a
    // top node, from the tree's links.
    void readParentPositions(std::size_t first, std::span<std::int32_t> parents) const;
    void showStatusIcons(std::size_t first, std::span<const struct ShownStatus> shown,
        class StatusLooks& looks, std::vector<std::uint16_t>& chosen);

    void TreeView_Status_NodeClick(const NodeRef& node);
    void TreeView_Status_DblClick();
    void TreeView_Status_Click();
    void TreeView_Status_MouseDown(std::int16_t button, std::int16_t shift, double x, double y);
    void TreeView_Status_Expand(const NodeRef& node);
    void TreeView_Status_Collapse(const NodeRef& node);
    [[nodiscard]] std::shared_ptr<cStatus> statusOfNode(const NodeRef& node) const;
    void showInformationText();
    void showPicture();

    void Menu_Popup_Item_Click(std::int32_t index);

    ControlSurface& m_Surface;
    const Platform m_Platform;

    Tree& TreeView_Status;
    TextBox& Text_Info;
    PictureBox& Picture_Object;
    // Its items are the menu item array Menu_Popup_Item, item 0 existing from the start.
    PopupMenu& Menu_Popup;
    std::unique_ptr<Timer> Timer_Update;
    std::unique_ptr<Timer> Timer_Flash;

    std::u16string m_ObjectFile;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    std::u16string m_RootObject;
    // In node order: record n shows node Index n + 1.
    StatusRecords m_StatusObjects;
    std::shared_ptr<cStatus> m_QueryStatus;
    std::int32_t m_QueryIndex = 0;
    std::int32_t m_UpdateInterval = 2000;
    std::int32_t m_UpdateElapsed = 0;
    bool m_Loading = false;
    std::shared_ptr<cStatus> m_SelectedStatus;
    std::int32_t m_BehaviourFlags = 0;
    std::int16_t m_LastMouseButton = 0;
    // The node under the last right button press, which the menu's commands are for; null when
    // the press was off the rows.
    NodeRef m_RightClickedNode;
    std::vector<std::u16string> m_MenuItems;
    bool m_MenuInUse = false;
    std::u16string m_SelectedPopupMenuItem;
    bool m_FlashOn = false;
    // A status, the behaviour or the records changed since the last tick: inherited statuses
    // and every icon are settled again. Otherwise only the tree's blink phase turns.
    bool m_StatusesChanged = true;
    // Last, so that the widgets stop calling the handlers before what they use goes.
    Connections m_Connections;
};

} // namespace vestrak
