#pragma once

#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <string>

namespace vestrak {

/// A popup menu with an array of items indexed from 0. Item 0 exists from the start; further
/// items are created and removed at run time by index.
class PopupMenu : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::PopupMenu; }

    /// The number of items; at least 1.
    [[nodiscard]] virtual std::int32_t itemCount() const = 0;
    /// Only the next free index can be created.
    virtual bool addItem(std::int32_t index) = 0;
    /// Only the highest item can be removed, and never item 0.
    virtual bool removeItem(std::int32_t index) = 0;
    /// The caption of an item; empty for an item that is not there.
    [[nodiscard]] virtual std::u16string caption(std::int32_t index) const = 0;
    /// False for an item that is not there.
    virtual bool setCaption(std::int32_t index, const std::u16string& caption) = 0;
    /// Shows the menu at the mouse position.
    virtual void popup() = 0;

    /// Raised with the index of the item the operator chose.
    Signal<std::int32_t> ItemClick;
    /// Raised each time the menu is shown, so a container can tell.
    Signal<> Shown;

    /// The operator chooses an item of the open menu, which closes it. False for an item that is
    /// not there, or when the menu is not open (not shown, chosen from already, or dismissed).
    virtual bool operatorChoose(std::int32_t index) = 0;
};

} // namespace vestrak
