#include "qt_widgets/qt_toolbar.h"

#include "qt_widgets/qt_images.h"
#include "qt_widgets/qt_text.h"
#include "qt_widgets/qt_tooltip.h"

#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

namespace vestrak {

QtToolbar::QtToolbar(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
    QWidget& bar, ImageList images)
    : QtWidget(std::move(name), design, visible, host, bar, images)
    , m_Bar(bar)
{
    // A pressed group or filter button must read as pressed at a glance, and the one the
    // keyboard is on must show it.
    m_Bar.setStyleSheet(QStringLiteral("QToolButton:checked { background: palette(highlight); "
                                       "border: 1px solid palette(shadow); border-radius: 3px; }"
                                       "QToolButton:focus { border: 1px dotted palette(text); }"));
}

void QtToolbar::geometryChanged()
{
    for (std::size_t position = 0; position < m_ToolButtons.size(); ++position) {
        const auto [x, y] = buttonOrigin(position);
        m_ToolButtons[position]->move(x, y);
    }
    place();
}

void QtToolbar::buttonAdded(const ToolbarButtonState& button)
{
    auto* toolButton = new QToolButton(&m_Bar);
    toolButton->setCheckable(true);
    toolButton->setAutoRaise(true);
    toolButton->setFixedSize(ButtonSizePixels, ButtonSizePixels);
    toolButton->setIconSize(QSize(16, 16));
    toolButton->setIcon(imageListIcon(imageList(), button.image()));
    toolButton->setAccessibleName(toQString(button.key()));
    // Tab reaches every button and Space toggles it, as a click does.
    toolButton->setFocusPolicy(Qt::TabFocus);
    toolButton->show();
    QObject::connect(toolButton, &QToolButton::clicked, &context(),
        [this, toolButton] { toolButtonClicked(*toolButton); });
    m_ToolButtons.push_back(toolButton);
    geometryChanged();
}

void QtToolbar::buttonsCleared()
{
    for (QToolButton* gone : m_ToolButtons)
        delete gone;
    m_ToolButtons.clear();
    geometryChanged();
}

void QtToolbar::buttonChanged(const ToolbarButtonState& button)
{
    QToolButton& shown = *m_ToolButtons[positionOf(button)];
    const QSignalBlocker quiet(&shown);
    shown.setChecked(button.value() != 0);
    setToolTipAndDescription(shown, button.toolTipText());
    shown.setAccessibleName(toQString(button.toolTipText().empty() ? button.key() : button.toolTipText()));
}

// Qt has toggled the tool button already; the state toggles alike and tells the control.
void QtToolbar::toolButtonClicked(const QToolButton& clicked)
{
    const auto position
        = std::find(m_ToolButtons.begin(), m_ToolButtons.end(), &clicked) - m_ToolButtons.begin();
    press(button(static_cast<std::int32_t>(position) + 1));
}

} // namespace vestrak
