#pragma once

#include "ports/control_properties.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vestrak {

// What a Qt widget reads of its control through the control's property table.
template<typename Control>
std::u16string TextProperty(
    std::span<const ControlProperty<Control>> table, Control& control, std::u16string_view name)
{
    return std::get<std::u16string>(FindProperty(table, name).get(control));
}

template<typename Control>
std::int32_t NumberProperty(
    std::span<const ControlProperty<Control>> table, Control& control, std::u16string_view name)
{
    return std::get<std::int32_t>(FindProperty(table, name).get(control));
}

// The control's value for yes: -1, as the controls' own yes/no properties read.
inline std::int32_t HostYesNo(bool yes)
{
    return yes ? -1 : 0;
}

} // namespace vestrak
