#pragma once

#include "qt_widgets/qt_widget.h"
#include "widgets/toolbar_state.h"

#include <vector>

class QToolButton;

namespace vestrak {

// The toolbar's buttons drawn as checkable tool buttons, in the places the state gives them.
class QtToolbar final : public QtWidget<ToolbarState> {
public:
    QtToolbar(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QWidget& bar,
        ImageList images);

private:
    void geometryChanged() override;
    void buttonAdded(const ToolbarButtonState& button) override;
    void buttonsCleared() override;
    void buttonChanged(const ToolbarButtonState& button) override;
    void toolButtonClicked(const QToolButton& clicked);

    QWidget& m_Bar;
    // One for each button of the state, in the same order; the bar owns them.
    std::vector<QToolButton*> m_ToolButtons;
};

} // namespace vestrak
