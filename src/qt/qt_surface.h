#pragma once

#include "ports/control_surface.h"
#include "qt/qt_widget.h"

#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vestrak {

// The area of one control as a QWidget: its outer size, a border on each side, and the control's
// widgets on the inner area. Sizes are kept in twips as given; the screen's logical DPI gives the
// twips per pixel (1440 / DPI) unless the container fixes them.
class QtSurface final : public QWidget, public ControlSurface, private QtWidgetHost {
    Q_OBJECT
public:
    QtSurface(double outerWidth, double outerHeight, double border = 0, QWidget* parent = nullptr,
        std::optional<double> twipsPerPixel = std::nullopt);
    ~QtSurface() override;

    using QWidget::resize;
    // The container sizes the control; it then runs the control's resize handling itself.
    void resize(double outerWidth, double outerHeight, double border);
    // The container's layout gave the widget a new size in pixels; the border stays.
    void resizeToPixels(QSize size);
    [[nodiscard]] double border() const { return m_Border; }

    [[nodiscard]] double twipsPerPixelX() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double twipsPerPixelY() const override { return m_TwipsPerPixel; }
    [[nodiscard]] double innerWidth() const override { return m_OuterWidth - 2 * m_Border; }
    [[nodiscard]] double innerHeight() const override { return m_OuterHeight - 2 * m_Border; }
    [[nodiscard]] double outerWidth() const override { return m_OuterWidth; }
    [[nodiscard]] double outerHeight() const override { return m_OuterHeight; }
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    void setSizeInPixels(std::int32_t width, std::int32_t height) override;
    void refresh() override { update(); }
    void addToolTip(Widget& widget, const std::u16string& text) override;
    [[nodiscard]] std::u16string toolTip(const Widget& widget) const override;

    Tree& addTree(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    Toolbar& addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible) override;
    ListBox& addListBox(const std::u16string& name, Geometry design, bool visible) override;
    TextBox& addTextBox(
        const std::u16string& name, Geometry design, TextBoxLines lines, bool visible) override;
    PictureBox& addPictureBox(const std::u16string& name, Geometry design, bool visible) override;
    CommandButton& addCommandButton(
        const std::u16string& name, Geometry design, ButtonPicture picture, bool visible) override;
    PopupMenu& addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption) override;

    [[nodiscard]] Widget* widget(std::u16string_view name) const override;
    [[nodiscard]] std::vector<Widget*> widgets() const override;
    [[nodiscard]] Widget* focusedWidget() const override { return m_Focused; }

    [[nodiscard]] static double screenTwipsPerPixel(const QWidget& widget);

signals:
    // The control changed its own size (collapsing, expanding); the container may follow it.
    void resizedByControl();

private:
    void focusMovedTo(Widget& widget) override { m_Focused = &widget; }
    QtWidgetHost& widgetHost() { return *this; }
    void followFocus(QWidget* now);
    void placeArea();
    template<typename Concrete> Concrete& keep(std::unique_ptr<Concrete> widget);

    double m_OuterWidth;
    double m_OuterHeight;
    double m_Border;
    double m_TwipsPerPixel;
    QWidget* m_Area;
    std::vector<std::unique_ptr<Widget>> m_Widgets;
    std::map<const Widget*, std::u16string> m_ToolTips;
    Widget* m_Focused = nullptr;
};

} // namespace vestrak
