#pragma once

#include "ports/image_lists.h"
#include "ports/list_box.h"
#include "widgets/widget_state.h"

#include <vector>

namespace vestrak {

// The items of a list box, each with its 32-bit data, the item added last and the chosen one.
class ListBoxState : public WidgetState<ListBox> {
public:
    using WidgetState::WidgetState;

    void addItem(const std::u16string& text) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override;
    [[nodiscard]] std::u16string itemText(std::int32_t index) const override;
    [[nodiscard]] std::int32_t newIndex() const override { return m_NewIndex; }
    [[nodiscard]] std::int32_t listIndex() const override { return m_ListIndex; }
    bool setListIndex(std::int32_t index) override;
    [[nodiscard]] std::int32_t itemData(std::int32_t index) const override;
    bool setItemData(std::int32_t index, std::int32_t data) override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    bool setBackColor(std::uint32_t color) override;
    bool operatorClick(std::int32_t index) override;
    bool operatorDoubleClick(std::int32_t index) override;

protected:
    // The item becomes the list index, then Click: for the operator's mouse and the operator action.
    void clickItem(std::int32_t index);
    [[nodiscard]] bool holds(std::int32_t index) const { return index >= 0 && index < count(); }

    virtual void itemAdded(std::int32_t) { }
    virtual void itemsCleared() { }
    virtual void listIndexChanged() { }
    virtual void backColorChanged() { }

private:
    struct Item {
        std::u16string text;
        std::int32_t data = 0;
    };

    std::vector<Item> m_Items;
    std::int32_t m_NewIndex = -1;
    std::int32_t m_ListIndex = -1;
    std::uint32_t m_BackColor = WindowBackgroundColor;
};

} // namespace vestrak
