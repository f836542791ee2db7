#include "headless/headless_surface.h"

#include "headless/headless_picture_box.h"
#include "widgets/command_button_state.h"
#include "widgets/list_box_state.h"
#include "widgets/popup_menu_state.h"
#include "widgets/text_box_state.h"
#include "widgets/toolbar_state.h"
#include "widgets/tree_state.h"

namespace vestrak {

HeadlessSurface::HeadlessSurface(
    FileSystem& files, double outerWidth, double outerHeight, double border, double twipsPerPixel)
    : SurfaceState(outerWidth, outerHeight, border, twipsPerPixel)
    , m_Files(files)
{
}

Tree& HeadlessSurface::addTree(const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(std::make_unique<TreeState>(name, design, visible, widgetHost(), images));
}

Toolbar& HeadlessSurface::addToolbar(
    const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(std::make_unique<ToolbarState>(name, design, visible, widgetHost(), images));
}

ListBox& HeadlessSurface::addListBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(std::make_unique<ListBoxState>(name, design, visible, widgetHost()));
}

TextBox& HeadlessSurface::addTextBox(
    const std::u16string& name, Geometry design, TextBoxLines lines, bool visible)
{
    return keep(std::make_unique<TextBoxState>(name, design, visible, widgetHost(), lines));
}

PictureBox& HeadlessSurface::addPictureBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(std::make_unique<HeadlessPictureBox>(name, design, visible, widgetHost(), m_Files));
}

CommandButton& HeadlessSurface::addCommandButton(
    const std::u16string& name, Geometry design, ButtonPicture picture, bool visible)
{
    return keep(std::make_unique<CommandButtonState>(name, design, visible, widgetHost(), picture));
}

PopupMenu& HeadlessSurface::addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption)
{
    return keep(std::make_unique<PopupMenuState>(name, widgetHost(), firstItemCaption));
}

} // namespace vestrak
