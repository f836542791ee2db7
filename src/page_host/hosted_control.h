#pragma once

#include "ports/control_properties.h"
#include "ports/control_surface.h"
#include "ports/signal.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// What a host can do with one property of one control. An empty getter marks a write-only
// property, an empty setter a read-only one. Both may throw ControlError.
struct PropertyBinding {
    ValueType type = ValueType::Number;
    std::function<PropertyValue()> get;
    std::function<void(const PropertyValue&)> set;
};

// A control placed by the container, seen through its type's binding table, together with the
// surface it lives on.
class HostedControl {
public:
    virtual ~HostedControl() = default;

    [[nodiscard]] virtual std::u16string_view typeName() const = 0;
    [[nodiscard]] virtual ControlSurface& surface() = 0;
    [[nodiscard]] virtual std::optional<PropertyBinding> property(std::u16string_view name) = 0;
    [[nodiscard]] virtual Event* event(std::u16string_view name) = 0;
    [[nodiscard]] virtual std::vector<std::u16string> propertyNames() const = 0;
    [[nodiscard]] virtual std::vector<std::u16string> eventNames() const = 0;
    // Runs the control's resize handling after the container has sized the surface.
    virtual void resized() = 0;
};

} // namespace vestrak
