#pragma once

#include "qt_widgets/qt_widget.h"
#include "widgets/list_box_state.h"

class QListWidget;

namespace vestrak {

// The list box drawn by a QListWidget: the list index is its selected row, whether the control or
// the operator chose it.
class QtListBox final : public QtWidget<ListBoxState> {
public:
    QtListBox(
        std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QListWidget& list);

private:
    void itemAdded(std::int32_t index) override;
    void itemsCleared() override;
    void listIndexChanged() override;
    void backColorChanged() override;
    void followSelection();

    QListWidget& m_List;
};

} // namespace vestrak
