#pragma once

#include "../export.h"
#include "../ports/control_surface.h"
#include "../ports/platform.h"
#include "../ports/signal.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vestrak {

class CiStatusPrivate;

/// A tree of plant objects, each showing the status its host reports for the object's tag as an
/// icon. Statuses may rise to the branches above and alarm statuses blink. A click shows the
/// object's information text and picture; a right click opens the host's popup menu.
///
/// The host answers GetStatus by reading ObjectTagName() until it is empty and writing each
/// tag's status with setObjectStatus(). Status values: docs/reference.md.
class VESTRAK_CONTROLS_EXPORT CiStatus {
public:
    /// Behaviour bit: a branch shows the worst status below it when that is worse than its own.
    static constexpr std::int32_t BehaviourInheritStatus = 0x1;
    /// Behaviour bit: an inherited red shows as amber, and an inherited blinking status does not blink.
    static constexpr std::int32_t BehaviourMuteInherited = 0x4;
    /// Behaviour bit: inheritance ranks unknown (image 1) above green and below amber, so that a
    /// branch over objects without data shows the question mark rather than green.
    static constexpr std::int32_t BehaviourUnknownAboveGood = 0x8;

    /// Creates the widgets on the surface and the timers through the platform; the flash timer
    /// (500 ms) runs from now on.
    CiStatus(ControlSurface& surface, const Platform& platform);
    /// Stops the timers.
    ~CiStatus();
    CiStatus(const CiStatus&) = delete;
    CiStatus& operator=(const CiStatus&) = delete;

    ///@{
    /// Path of the object file. Setting it (again) loads the tree from its section TreeObjects,
    /// reopens the branches and the selection kept for the user and starts the status queries.
    [[nodiscard]] std::u16string ObjectFile() const;
    void setObjectFile(const std::u16string& value);
    ///@}
    ///@{
    /// Comma list of code prefixes that limits the tree; takes effect at the next load.
    [[nodiscard]] std::u16string RootObject() const;
    void setRootObject(const std::u16string& value);
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
    [[nodiscard]] std::int32_t UpdateInterval() const;
    void setUpdateInterval(std::int32_t value);
    ///@}
    ///@{
    /// The Behaviour bits (BehaviourInheritStatus, BehaviourMuteInherited,
    /// BehaviourUnknownAboveGood); next flash tick.
    [[nodiscard]] std::int32_t Behaviour() const;
    void setBehaviour(std::int32_t value);
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
    [[nodiscard]] std::u16string SelectedPopupMenuItem() const;

    ///@{
    /// The background of the nodes made by the next load: 0x00BBGGRR, or a system colour when
    /// the top bit is set.
    [[nodiscard]] std::int32_t BackColor() const;
    void setBackColor(std::int32_t value);
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
    Event GetStatus;
    /// The operator clicked a node; its information and picture are shown. Read SelectedNode(),
    /// SelectedNodeCode() or SelectedNodeTagName().
    Event NodeClick;
    /// The operator double-clicked the tree.
    Event NodeDblClick;
    /// The operator chose a popup menu item. Read SelectedPopupMenuItem().
    Event PopupMenuItemClick;

private:
    // Declared after the events it raises, so that it ends (and stops its timers) before them.
    const std::unique_ptr<CiStatusPrivate> d;
};

} // namespace vestrak
