#include "qt/qt_toolbar.h"

#include "qt/qt_images.h"
#include "qt/qt_text.h"
#include "qt/qt_tooltip.h"

#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace vestrak {

namespace {
constexpr int ButtonSizePixels = 22;
}

QtToolbarButton::QtToolbarButton(std::u16string key, std::int32_t image, QToolButton& button)
    : m_Key(std::move(key))
    , m_Image(image)
    , m_Button(&button)
{
}

std::int32_t QtToolbarButton::value() const
{
    return exists() && m_Button->isChecked() ? 1 : 0;
}

void QtToolbarButton::setValue(std::int32_t value)
{
    if (!exists())
        return;
    const QSignalBlocker quiet(m_Button.data());
    m_Button->setChecked(value != 0);
}

std::u16string QtToolbarButton::toolTipText() const
{
    return exists() ? m_ToolTip : std::u16string();
}

void QtToolbarButton::setToolTipText(const std::u16string& text)
{
    if (!exists())
        return;
    m_ToolTip = text;
    m_Button->setToolTip(toolTipHtml(text, *m_Button));
}

QtToolbar::QtToolbar(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
    QWidget& bar, ImageList images)
    : QtWidget(std::move(name), design, visible, host, bar)
    , m_Bar(bar)
    , m_Images(images)
{
    // A pressed group or filter button must read as pressed at a glance, and the one the
    // keyboard is on must show it.
    m_Bar.setStyleSheet(QStringLiteral("QToolButton:checked { background: palette(highlight); "
                                       "border: 1px solid palette(shadow); border-radius: 3px; }"
                                       "QToolButton:focus { border: 1px dotted palette(text); }"));
    place();
}

QtToolbar::~QtToolbar()
{
    for (auto& button : m_Buttons)
        button->markRemoved();
}

double QtToolbar::width() const
{
    return m_WidthSet.value_or(buttonCount() * ButtonSizePixels * host().twipsPerPixelX());
}

double QtToolbar::height() const
{
    const auto perRow = std::max(1.0, std::floor(width() / host().twipsPerPixelX() / ButtonSizePixels));
    const auto rows = std::max(1.0, std::ceil(buttonCount() / perRow));
    return rows * ButtonSizePixels * host().twipsPerPixelY();
}

bool QtToolbar::setWidth(double twips)
{
    if (twips < 0)
        return false;
    m_WidthSet = twips;
    flowButtons();
    return true;
}

bool QtToolbar::setHeight(double)
{
    // The height follows from the buttons and the width.
    return false;
}

void QtToolbar::flowButtons()
{
    const int perRow
        = std::max(1, static_cast<int>(std::floor(width() / host().twipsPerPixelX() / ButtonSizePixels)));
    for (std::size_t i = 0; i < m_Buttons.size(); ++i) {
        const int position = static_cast<int>(i);
        m_Buttons[i]->button()->move(
            position % perRow * ButtonSizePixels, position / perRow * ButtonSizePixels);
    }
    place();
}

ButtonRef QtToolbar::addButton(const std::u16string& key, std::int32_t image)
{
    if (findButton(key))
        return nullptr;
    const std::int32_t shownImage = holdsImage(m_Images, image) ? image : 0;
    // The toolbar widget owns its buttons.
    auto* toolButton = new QToolButton(&m_Bar);
    toolButton->setCheckable(true);
    toolButton->setAutoRaise(true);
    toolButton->setFixedSize(ButtonSizePixels, ButtonSizePixels);
    toolButton->setIconSize(QSize(16, 16));
    toolButton->setIcon(imageListIcon(m_Images, shownImage));
    // Tab reaches every button and Space toggles it, as a click does.
    toolButton->setFocusPolicy(Qt::TabFocus);
    toolButton->show();
    auto button = std::make_shared<QtToolbarButton>(key, shownImage, *toolButton);
    QObject::connect(toolButton, &QToolButton::clicked, &context(), [this, weak = std::weak_ptr(button)] {
        if (ButtonRef clicked = weak.lock(); clicked && clicked->exists())
            ButtonClick(clicked);
    });
    m_Buttons.push_back(std::move(button));
    flowButtons();
    return m_Buttons.back();
}

void QtToolbar::clearButtons()
{
    for (auto& button : m_Buttons) {
        std::unique_ptr<QToolButton> gone(button->button());
        button->markRemoved();
    }
    m_Buttons.clear();
    flowButtons();
}

std::int32_t QtToolbar::buttonCount() const
{
    return static_cast<std::int32_t>(m_Buttons.size());
}

ButtonRef QtToolbar::button(std::int32_t index) const
{
    if (index < 1 || index > buttonCount())
        return nullptr;
    return m_Buttons[static_cast<std::size_t>(index) - 1];
}

ButtonRef QtToolbar::findButton(const std::u16string& key) const
{
    auto found = std::find_if(
        m_Buttons.begin(), m_Buttons.end(), [&key](const auto& button) { return button->key() == key; });
    return found == m_Buttons.end() ? nullptr : *found;
}

bool QtToolbar::operatorClick(const std::u16string& key)
{
    ButtonRef pressed = visible() ? findButton(key) : nullptr;
    if (!pressed)
        return false;
    // A click on the real button toggles it and raises the button click through its signal.
    static_cast<QtToolbarButton&>(*pressed).button()->click();
    return true;
}

} // namespace vestrak
