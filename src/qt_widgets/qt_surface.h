#pragma once

#include "ports/file_system.h"
#include "qt_widgets/qt_widget.h"
#include "widgets/surface_state.h"

#include <QWidget>
#include <optional>

namespace vestrak {

// The area of one control as a QWidget: the surface's state drawn as an inner area inside the
// border, with the control's widgets on it. The screen's logical DPI gives the twips per pixel
// (1440 / DPI) unless the container fixes them. Its picture box reads pictures from the given files.
class QtSurface final : public QWidget, public SurfaceState, private QtWidgetHost {
    Q_OBJECT
public:
    QtSurface(FileSystem& files, double outerWidth, double outerHeight, double border = 0,
        QWidget* parent = nullptr, std::optional<double> twipsPerPixel = std::nullopt);
    ~QtSurface() override;

    using QWidget::resize;
    using SurfaceState::resize;
    using SurfaceState::toolTip;
    // The container's layout gave the widget a new size in pixels; the border stays.
    void resizeToPixels(QSize size);

    void refresh() override { update(); }

    Tree& addTree(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    Toolbar& addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    ListBox& addListBox(const std::u16string& name, Geometry design, bool visible) override;
    TextBox& addTextBox(
        const std::u16string& name, Geometry design, TextBoxLines lines, bool visible) override;
    PictureBox& addPictureBox(const std::u16string& name, Geometry design, bool visible) override;
    CommandButton& addCommandButton(
        const std::u16string& name, Geometry design, ButtonPicture picture, bool visible) override;
    PopupMenu& addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption) override;

    [[nodiscard]] static double screenTwipsPerPixel(const QWidget& widget);

protected:
    // Tab goes through the control's widgets in the order they are read, however they were made.
    bool focusNextPrevChild(bool next) override;

signals:
    // The control changed its own size (collapsing, expanding); the container may follow it.
    void resizedByControl();

private:
    void resized(ResizedBy by) override;
    void toolTipChanged(Widget& widget, const std::u16string& text) override;
    QtWidgetHost& widgetHost() { return *this; }
    void followFocus(QWidget* now);
    void placeArea();
    void chainTabStops();

    FileSystem& m_Files;
    QWidget* m_Area;
};

} // namespace vestrak
