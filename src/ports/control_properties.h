#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vestrak {

/// How a property's value crosses into a page script.
enum class ValueType { Number, Text };

using PropertyValue = std::variant<std::int32_t, std::u16string>;

/// What a property's value means; page scripts see Number or Text, a widget set may show more.
enum class PropertyKind {
    Text,
    /// Each setting adds one item ("Name/Caption"); the empty text clears them.
    TextItems,
    Number,
    /// A set of named bits; bits without a name are kept and have no effect.
    Flags,
    /// 0x00BBGGRR, or with the top bit set a system colour.
    Color,
    /// Not 0 is yes.
    YesNo,
};

/// When setting a property acts.
enum class PropertyTiming {
    AtOnce,
    /// Stored for the next build or load.
    NextBuild,
    /// Builds (or loads) at once, with the stored values.
    Builds,
};

/// Where a property belongs.
enum class PropertyUse {
    /// Part of a page's design: a form stores it.
    Design,
    /// Read or set while the page runs; a form never stores it.
    RunTime,
    /// Reading it moves a cursor, so it is a call rather than a value.
    Query,
};

/// Who changes what a property reads.
enum class PropertyChanges { ByHost, ByOperator };

/// One property of a control type: its name, its meaning and how to reach it on an instance. An
/// empty getter marks a write-only property, an empty setter a read-only one.
template<typename Control> struct ControlProperty {
    std::u16string_view name;
    PropertyKind kind = PropertyKind::Number;
    PropertyTiming timing = PropertyTiming::AtOnce;
    PropertyUse use = PropertyUse::Design;
    PropertyChanges changes = PropertyChanges::ByHost;
    std::function<PropertyValue(Control&)> get {};
    std::function<void(Control&, const PropertyValue&)> set {};

    [[nodiscard]] ValueType valueType() const
    {
        return kind == PropertyKind::Text || kind == PropertyKind::TextItems ? ValueType::Text
                                                                             : ValueType::Number;
    }
};

/// The entry of that name; throws std::out_of_range for a name the table lacks.
template<typename Control>
const ControlProperty<Control>& FindProperty(
    std::span<const ControlProperty<Control>> table, std::u16string_view name)
{
    const auto found = std::find_if(table.begin(), table.end(),
        [name](const ControlProperty<Control>& entry) { return entry.name == name; });
    if (found == table.end())
        throw std::out_of_range("no such control property");
    return *found;
}

template<typename Control, typename Get> std::function<PropertyValue(Control&)> PropertyGetter(Get get)
{
    return [get](Control& control) { return PropertyValue(std::invoke(get, control)); };
}

template<typename Control, typename Argument>
std::function<void(Control&, const PropertyValue&)> PropertySetter(void (Control::*set)(Argument))
{
    using Value = std::remove_cvref_t<Argument>;
    return [set](Control& control, const PropertyValue& value) { (control.*set)(std::get<Value>(value)); };
}

} // namespace vestrak
