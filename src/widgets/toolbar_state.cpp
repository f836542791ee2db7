#include "widgets/toolbar_state.h"

#include <algorithm>
#include <cmath>

namespace vestrak {

ToolbarButtonState::ToolbarButtonState(ToolbarState& toolbar, std::u16string key, std::int32_t image)
    : m_Toolbar(&toolbar)
    , m_Key(std::move(key))
    , m_Image(image)
{
}

void ToolbarButtonState::setValue(std::int32_t value)
{
    if (!exists() || m_Value == value)
        return;
    m_Value = value;
    m_Toolbar->buttonChanged(*this);
}

void ToolbarButtonState::setToolTipText(const std::u16string& text)
{
    if (!exists() || m_ToolTip == text)
        return;
    m_ToolTip = text;
    m_Toolbar->buttonChanged(*this);
}

ToolbarState::ToolbarState(
    std::u16string name, const Geometry& design, bool visible, WidgetHost& host, ImageList images)
    : WidgetState(std::move(name), design, visible, host)
    , m_Images(images)
{
}

// Controls may hold button handles longer than the toolbar lives.
ToolbarState::~ToolbarState()
{
    for (auto& button : m_Buttons)
        button->m_Toolbar = nullptr;
}

double ToolbarState::width() const
{
    return m_WidthSet.value_or(buttonCount() * ButtonSizePixels * widgetHost().twipsPerPixelX());
}

double ToolbarState::height() const
{
    const auto rows = std::max(1, (buttonCount() + buttonsPerRow() - 1) / buttonsPerRow());
    return rows * ButtonSizePixels * widgetHost().twipsPerPixelY();
}

int ToolbarState::buttonsPerRow() const
{
    // More room than buttons changes nothing; no room still holds one button a row.
    const double fits = std::floor(width() / widgetHost().twipsPerPixelX() / ButtonSizePixels);
    return fits >= 1 ? static_cast<int>(std::min(fits, std::max(1.0, static_cast<double>(buttonCount()))))
                     : 1;
}

std::pair<int, int> ToolbarState::buttonOrigin(std::size_t position) const
{
    const int at = static_cast<int>(position);
    return { at % buttonsPerRow() * ButtonSizePixels, at / buttonsPerRow() * ButtonSizePixels };
}

std::size_t ToolbarState::positionOf(const ToolbarButton& button) const
{
    return static_cast<std::size_t>(std::find_if(m_Buttons.begin(), m_Buttons.end(),
                                        [&button](const auto& each) { return each.get() == &button; })
        - m_Buttons.begin());
}

bool ToolbarState::setWidth(double twips)
{
    if (twips < 0)
        return false;
    if (m_WidthSet != twips) {
        m_WidthSet = twips;
        geometryChanged();
    }
    return true;
}

bool ToolbarState::setHeight(double)
{
    return false;
}

ButtonRef ToolbarState::addButton(const std::u16string& key, std::int32_t image)
{
    if (findButton(key))
        return nullptr;
    m_Buttons.push_back(
        std::make_shared<ToolbarButtonState>(*this, key, holdsImage(m_Images, image) ? image : 0));
    buttonAdded(*m_Buttons.back());
    return m_Buttons.back();
}

void ToolbarState::clearButtons()
{
    for (auto& button : m_Buttons)
        button->m_Toolbar = nullptr;
    m_Buttons.clear();
    buttonsCleared();
}

std::int32_t ToolbarState::buttonCount() const
{
    return static_cast<std::int32_t>(m_Buttons.size());
}

ButtonRef ToolbarState::button(std::int32_t index) const
{
    if (index < 1 || index > buttonCount())
        return nullptr;
    return m_Buttons[static_cast<std::size_t>(index) - 1];
}

ButtonRef ToolbarState::findButton(const std::u16string& key) const
{
    auto found = std::find_if(
        m_Buttons.begin(), m_Buttons.end(), [&key](const auto& button) { return button->key() == key; });
    return found == m_Buttons.end() ? nullptr : *found;
}

void ToolbarState::press(const ButtonRef& button)
{
    button->setValue(button->value() == 0 ? 1 : 0);
    ButtonClick(button);
}

bool ToolbarState::operatorClick(const std::u16string& key)
{
    ButtonRef pressed = visible() ? findButton(key) : nullptr;
    if (!pressed)
        return false;
    press(pressed);
    return true;
}

} // namespace vestrak
