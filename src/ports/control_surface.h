#pragma once

#include "../ports/command_button.h"
#include "../ports/image_lists.h"
#include "../ports/list_box.h"
#include "../ports/picture_box.h"
#include "../ports/popup_menu.h"
#include "../ports/text_box.h"
#include "../ports/toolbar.h"
#include "../ports/tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

/// The area a container gives a control: its size, its border, and the widgets on it. The
/// surface owns the widgets it creates; they live as long as the surface. The container sizes
/// the surface and then runs the control's resize handling; a control sizing itself raises no
/// resize.
class ControlSurface {
public:
    virtual ~ControlSurface() = default;

    ///@{
    /// Twips in a pixel of the screen, across and down.
    [[nodiscard]] virtual double twipsPerPixelX() const = 0;
    [[nodiscard]] virtual double twipsPerPixelY() const = 0;
    ///@}

    ///@{
    /// Size in twips inside the border (inner) and with it (outer).
    [[nodiscard]] virtual double innerWidth() const = 0;
    [[nodiscard]] virtual double innerHeight() const = 0;
    [[nodiscard]] virtual double outerWidth() const = 0;
    [[nodiscard]] virtual double outerHeight() const = 0;
    ///@}
    ///@{
    /// The border stays; the inner size follows. False for a size smaller than the border.
    virtual bool setOuterWidth(double twips) = 0;
    virtual bool setOuterHeight(double twips) = 0;
    ///@}
    /// Sizes the control's window in pixels at its current position.
    virtual void setSizeInPixels(std::int32_t width, std::int32_t height) = 0;
    /// Redraws the surface.
    virtual void refresh() = 0;

    /// A tooltip for a widget; a line break in the text starts a second line, and lines wrap at
    /// 300 pixels.
    virtual void addToolTip(Widget& widget, const std::u16string& text) = 0;
    /// The tooltip text of a widget; empty when it has none.
    [[nodiscard]] virtual std::u16string toolTip(const Widget& widget) const = 0;

    ///@{
    /// Makes a widget of the surface with its name, design rectangle and first state; the surface
    /// owns it.
    virtual Tree& addTree(const std::u16string& name, Geometry design, ImageList images, bool visible) = 0;
    virtual Toolbar& addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible)
        = 0;
    virtual ListBox& addListBox(const std::u16string& name, Geometry design, bool visible) = 0;
    virtual TextBox& addTextBox(const std::u16string& name, Geometry design, TextBoxLines lines, bool visible)
        = 0;
    virtual PictureBox& addPictureBox(const std::u16string& name, Geometry design, bool visible) = 0;
    virtual CommandButton& addCommandButton(
        const std::u16string& name, Geometry design, ButtonPicture picture, bool visible)
        = 0;
    virtual PopupMenu& addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption) = 0;
    ///@}

    /// For containers: the widget of that name; null when there is none.
    [[nodiscard]] virtual Widget* widget(std::u16string_view name) const = 0;
    /// Every widget, in order of creation.
    [[nodiscard]] virtual std::vector<Widget*> widgets() const = 0;
    /// The widget that holds the input focus: the one that took it last, unless it was hidden or
    /// the focus went to another control since; null when none does.
    [[nodiscard]] virtual Widget* focusedWidget() const = 0;
};

} // namespace vestrak
