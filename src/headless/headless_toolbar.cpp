#include "headless/headless_toolbar.h"

#include <algorithm>
#include <cmath>

namespace vestrak {

namespace {
constexpr double ButtonSizePixels = 22;
}

HeadlessToolbar::HeadlessToolbar(std::u16string name, const Geometry& design, bool visible,
    FocusTracker& focus, ImageList images, double twipsPerPixelX, double twipsPerPixelY)
    : HeadlessWidget(std::move(name), design, visible, focus)
    , m_Images(images)
    , m_TwipsPerPixelX(twipsPerPixelX)
    , m_TwipsPerPixelY(twipsPerPixelY)
{
}

double HeadlessToolbar::width() const
{
    return m_WidthSet.value_or(buttonCount() * ButtonSizePixels * m_TwipsPerPixelX);
}

double HeadlessToolbar::height() const
{
    const auto perRow = std::max(1.0, std::floor(width() / m_TwipsPerPixelX / ButtonSizePixels));
    const auto rows = std::max(1.0, std::ceil(buttonCount() / perRow));
    return rows * ButtonSizePixels * m_TwipsPerPixelY;
}

bool HeadlessToolbar::setWidth(double twips)
{
    if (twips < 0)
        return false;
    m_WidthSet = twips;
    return true;
}

bool HeadlessToolbar::setHeight(double)
{
    // The height follows from the buttons and the width.
    return false;
}

ButtonRef HeadlessToolbar::addButton(const std::u16string& key, std::int32_t image)
{
    if (findButton(key))
        return nullptr;
    m_Buttons.push_back(std::make_shared<HeadlessButton>(key, holdsImage(m_Images, image) ? image : 0));
    return m_Buttons.back();
}

void HeadlessToolbar::clearButtons()
{
    for (auto& button : m_Buttons)
        button->markRemoved();
    m_Buttons.clear();
}

std::int32_t HeadlessToolbar::buttonCount() const
{
    return static_cast<std::int32_t>(m_Buttons.size());
}

ButtonRef HeadlessToolbar::button(std::int32_t index) const
{
    if (index < 1 || index > buttonCount())
        return nullptr;
    return m_Buttons[static_cast<std::size_t>(index) - 1];
}

ButtonRef HeadlessToolbar::findButton(const std::u16string& key) const
{
    auto found = std::find_if(
        m_Buttons.begin(), m_Buttons.end(), [&key](const auto& button) { return button->key() == key; });
    return found == m_Buttons.end() ? nullptr : *found;
}

bool HeadlessToolbar::operatorClick(const std::u16string& key)
{
    ButtonRef pressed = visible() ? findButton(key) : nullptr;
    if (!pressed)
        return false;
    pressed->setValue(pressed->value() == 0 ? 1 : 0);
    ButtonClick(pressed);
    return true;
}

} // namespace vestrak
