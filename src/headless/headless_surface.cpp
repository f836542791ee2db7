#include "headless/headless_surface.h"

#include "headless/headless_list_box.h"
#include "headless/headless_simple_widgets.h"
#include "headless/headless_toolbar.h"
#include "headless/headless_tree.h"

namespace vestrak {

HeadlessSurface::HeadlessSurface(double outerWidth, double outerHeight, double border, double twipsPerPixel)
    : m_OuterWidth(outerWidth)
    , m_OuterHeight(outerHeight)
    , m_Border(border)
    , m_TwipsPerPixel(twipsPerPixel)
{
}

HeadlessSurface::~HeadlessSurface() = default;

void HeadlessSurface::resize(double outerWidth, double outerHeight, double border)
{
    m_OuterWidth = outerWidth;
    m_OuterHeight = outerHeight;
    m_Border = border;
}

bool HeadlessSurface::setOuterWidth(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterWidth = twips;
    return true;
}

bool HeadlessSurface::setOuterHeight(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterHeight = twips;
    return true;
}

void HeadlessSurface::setSizeInPixels(std::int32_t width, std::int32_t height)
{
    setOuterWidth(width * m_TwipsPerPixel);
    setOuterHeight(height * m_TwipsPerPixel);
}

void HeadlessSurface::addToolTip(Widget& widget, const std::u16string& text)
{
    m_ToolTips[&widget] = text;
}

std::u16string HeadlessSurface::toolTip(const Widget& widget) const
{
    auto found = m_ToolTips.find(&widget);
    return found == m_ToolTips.end() ? std::u16string() : found->second;
}

template<typename Concrete> Concrete& HeadlessSurface::keep(std::unique_ptr<Concrete> widget)
{
    m_Widgets.push_back(std::move(widget));
    return static_cast<Concrete&>(*m_Widgets.back());
}

Tree& HeadlessSurface::addTree(const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(
        std::make_unique<HeadlessTree>(name, design, visible, focusTracker(), images, m_TwipsPerPixel));
}

Toolbar& HeadlessSurface::addToolbar(
    const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(std::make_unique<HeadlessToolbar>(
        name, design, visible, focusTracker(), images, m_TwipsPerPixel, m_TwipsPerPixel));
}

ListBox& HeadlessSurface::addListBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(std::make_unique<HeadlessListBox>(name, design, visible, focusTracker()));
}

TextBox& HeadlessSurface::addTextBox(
    const std::u16string& name, Geometry design, TextBoxLines lines, bool visible)
{
    return keep(std::make_unique<HeadlessTextBox>(name, design, visible, focusTracker(), lines));
}

PictureBox& HeadlessSurface::addPictureBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(std::make_unique<HeadlessPictureBox>(name, design, visible, focusTracker()));
}

CommandButton& HeadlessSurface::addCommandButton(
    const std::u16string& name, Geometry design, ButtonPicture picture, bool visible)
{
    return keep(std::make_unique<HeadlessCommandButton>(name, design, visible, focusTracker(), picture));
}

PopupMenu& HeadlessSurface::addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption)
{
    return keep(std::make_unique<HeadlessPopupMenu>(name, focusTracker(), firstItemCaption));
}

Widget* HeadlessSurface::widget(std::u16string_view name) const
{
    for (const auto& each : m_Widgets) {
        if (each->name() == name)
            return each.get();
    }
    return nullptr;
}

std::vector<Widget*> HeadlessSurface::widgets() const
{
    std::vector<Widget*> all;
    all.reserve(m_Widgets.size());
    for (const auto& each : m_Widgets)
        all.push_back(each.get());
    return all;
}

} // namespace vestrak
