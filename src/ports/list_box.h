#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <string>

namespace vestrak {

class ListBox : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::ListBox; }

    virtual void addItem(const std::u16string& text) = 0;
    virtual void clear() = 0;
    [[nodiscard]] virtual std::int32_t count() const = 0;
    [[nodiscard]] virtual std::u16string itemText(std::int32_t index) const = 0;
    // Index of the item added last; -1 when the list is empty.
    [[nodiscard]] virtual std::int32_t newIndex() const = 0;
    // Index of the chosen item, -1 for none.
    [[nodiscard]] virtual std::int32_t listIndex() const = 0;
    virtual bool setListIndex(std::int32_t index) = 0;
    // False (and 0) for an index outside the list.
    [[nodiscard]] virtual std::int32_t itemData(std::int32_t index) const = 0;
    virtual bool setItemData(std::int32_t index, std::int32_t data) = 0;
    [[nodiscard]] virtual std::uint32_t backColor() const = 0;
    virtual bool setBackColor(std::uint32_t color) = 0;

    Signal<> Click;
    Signal<> DblClick;

    // The item becomes the list index, then Click (and DblClick). False when hidden or no item.
    virtual bool operatorClick(std::int32_t index) = 0;
    virtual bool operatorDoubleClick(std::int32_t index) = 0;
};

} // namespace vestrak
