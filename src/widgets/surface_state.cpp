#include "widgets/surface_state.h"

namespace vestrak {

SurfaceState::SurfaceState(double outerWidth, double outerHeight, double border, double twipsPerPixel)
    : m_OuterWidth(outerWidth)
    , m_OuterHeight(outerHeight)
    , m_Border(border)
    , m_TwipsPerPixel(twipsPerPixel)
{
}

SurfaceState::~SurfaceState() = default;

void SurfaceState::resize(double outerWidth, double outerHeight, double border)
{
    m_OuterWidth = outerWidth;
    m_OuterHeight = outerHeight;
    m_Border = border;
    resized(ResizedBy::Container);
}

bool SurfaceState::setOuterWidth(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterWidth = twips;
    resized(ResizedBy::Control);
    return true;
}

bool SurfaceState::setOuterHeight(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterHeight = twips;
    resized(ResizedBy::Control);
    return true;
}

void SurfaceState::setSizeInPixels(std::int32_t width, std::int32_t height)
{
    setOuterWidth(width * m_TwipsPerPixel);
    setOuterHeight(height * m_TwipsPerPixel);
}

void SurfaceState::addToolTip(Widget& widget, const std::u16string& text)
{
    m_ToolTips[&widget] = text;
    toolTipChanged(widget, text);
}

std::u16string SurfaceState::toolTip(const Widget& widget) const
{
    auto found = m_ToolTips.find(&widget);
    return found == m_ToolTips.end() ? std::u16string() : found->second;
}

Widget* SurfaceState::widget(std::u16string_view name) const
{
    for (const auto& each : m_Widgets) {
        if (each->name() == name)
            return each.get();
    }
    return nullptr;
}

std::vector<Widget*> SurfaceState::widgets() const
{
    std::vector<Widget*> all;
    all.reserve(m_Widgets.size());
    for (const auto& each : m_Widgets)
        all.push_back(each.get());
    return all;
}

} // namespace vestrak
