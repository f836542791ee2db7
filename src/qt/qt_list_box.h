#pragma once

#include "ports/image_lists.h"
#include "ports/list_box.h"
#include "qt/qt_widget.h"

class QListWidget;

namespace vestrak {

// The list box port on a QListWidget; the list index is the selected row and each item carries
// its 32-bit data.
class QtListBox final : public QtWidget<ListBox> {
public:
    QtListBox(
        std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QListWidget& list);

    void addItem(const std::u16string& text) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override;
    [[nodiscard]] std::u16string itemText(std::int32_t index) const override;
    [[nodiscard]] std::int32_t newIndex() const override { return m_NewIndex; }
    [[nodiscard]] std::int32_t listIndex() const override;
    bool setListIndex(std::int32_t index) override;
    [[nodiscard]] std::int32_t itemData(std::int32_t index) const override;
    bool setItemData(std::int32_t index, std::int32_t data) override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    bool setBackColor(std::uint32_t color) override;
    bool operatorClick(std::int32_t index) override;
    bool operatorDoubleClick(std::int32_t index) override;

private:
    [[nodiscard]] bool holds(std::int32_t index) const { return index >= 0 && index < count(); }
    void clickRow(int row);

    QListWidget& m_List;
    std::int32_t m_NewIndex = -1;
    std::uint32_t m_BackColor = WindowBackgroundColor;
};

} // namespace vestrak
