#pragma once

#include "ports/file_system.h"
#include "widgets/surface_state.h"

namespace vestrak {

// The in-memory area of one control, with its widgets. Sized by the container in twips; its
// picture box reads pictures from the given files.
class HeadlessSurface final : public SurfaceState {
public:
    static constexpr double DefaultTwipsPerPixel = 15;

    HeadlessSurface(FileSystem& files, double outerWidth, double outerHeight, double border = 0,
        double twipsPerPixel = DefaultTwipsPerPixel);

    [[nodiscard]] int refreshCount() const { return m_RefreshCount; }
    void refresh() override { ++m_RefreshCount; }

    Tree& addTree(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    Toolbar& addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    ListBox& addListBox(const std::u16string& name, Geometry design, bool visible) override;
    TextBox& addTextBox(
        const std::u16string& name, Geometry design, TextBoxLines lines, bool visible) override;
    PictureBox& addPictureBox(const std::u16string& name, Geometry design, bool visible) override;
    CommandButton& addCommandButton(
        const std::u16string& name, Geometry design, ButtonPicture picture, bool visible) override;
    PopupMenu& addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption) override;

private:
    WidgetHost& widgetHost() { return *this; }

    FileSystem& m_Files;
    int m_RefreshCount = 0;
};

} // namespace vestrak
