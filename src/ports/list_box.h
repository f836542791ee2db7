#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <string>

namespace vestrak {

/// A list of text items, each with a number of the control's own (its item data).
class ListBox : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::ListBox; }

    /// Appends an item with item data 0; it becomes the new index.
    virtual void addItem(const std::u16string& text) = 0;
    /// Removes every item; no item is chosen then.
    virtual void clear() = 0;
    /// The number of items.
    [[nodiscard]] virtual std::int32_t count() const = 0;
    /// The text of an item by index from 0; empty outside the list.
    [[nodiscard]] virtual std::u16string itemText(std::int32_t index) const = 0;
    /// Index of the item added last; -1 when the list is empty.
    [[nodiscard]] virtual std::int32_t newIndex() const = 0;
    /// Index of the chosen item, -1 for none.
    [[nodiscard]] virtual std::int32_t listIndex() const = 0;
    /// Chooses an item, or none with -1; false for an index outside the list.
    virtual bool setListIndex(std::int32_t index) = 0;
    /// False (and 0) for an index outside the list.
    [[nodiscard]] virtual std::int32_t itemData(std::int32_t index) const = 0;
    /// False for an index outside the list.
    virtual bool setItemData(std::int32_t index, std::int32_t data) = 0;
    ///@{
    /// Back colour, as hosts give colours (see WindowBackgroundColor).
    [[nodiscard]] virtual std::uint32_t backColor() const = 0;
    virtual bool setBackColor(std::uint32_t color) = 0;
    ///@}

    /// Raised when the operator clicks an item, after it became the list index.
    Signal<> Click;
    /// Raised when the operator double-clicks an item, after its Click.
    Signal<> DblClick;

    /// The item becomes the list index, then Click (and DblClick). False when hidden or no item.
    virtual bool operatorClick(std::int32_t index) = 0;
    /// The same as operatorClick() for a double click.
    virtual bool operatorDoubleClick(std::int32_t index) = 0;
};

} // namespace vestrak
