#pragma once

#include "page_host/hosted_control.h"
#include "ports/platform.h"

#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>

namespace vestrak {

// A property of a control type, not yet tied to an instance.
template<typename Control> struct PropertyAccess {
    ValueType type = ValueType::Number;
    std::function<PropertyValue(Control&)> get;
    std::function<void(Control&, const PropertyValue&)> set;
};

// The names a host uses for one control type: its properties and its events.
template<typename Control> struct BindingTable {
    std::u16string typeName;
    std::map<std::u16string, PropertyAccess<Control>, std::less<>> properties;
    std::map<std::u16string, Event Control::*, std::less<>> events;
};

template<typename Value>
constexpr ValueType ValueTypeOf
    = std::is_same_v<std::remove_cvref_t<Value>, std::u16string> ? ValueType::Text : ValueType::Number;

template<typename Control, typename Get> std::function<PropertyValue(Control&)> MakeGetter(Get get)
{
    return [get](Control& control) { return PropertyValue(std::invoke(get, control)); };
}

template<typename Control, typename Argument>
std::function<void(Control&, const PropertyValue&)> MakeSetter(void (Control::*set)(Argument))
{
    using Value = std::remove_cvref_t<Argument>;
    return [set](Control& control, const PropertyValue& value) { (control.*set)(std::get<Value>(value)); };
}

template<typename Control, typename Get, typename Argument>
PropertyAccess<Control> ReadWrite(Get get, void (Control::*set)(Argument))
{
    return { ValueTypeOf<Argument>, MakeGetter<Control>(get), MakeSetter(set) };
}

template<typename Control, typename Get> PropertyAccess<Control> ReadOnly(Get get)
{
    return { ValueTypeOf<std::invoke_result_t<Get, Control&>>, MakeGetter<Control>(get), {} };
}

template<typename Control, typename Argument>
PropertyAccess<Control> WriteOnly(void (Control::*set)(Argument))
{
    return { ValueTypeOf<Argument>, {}, MakeSetter(set) };
}

// One control instance on its own surface. The control is built in place (controls cannot be
// moved) and ends before its surface, so its shut-down still finds its widgets.
template<typename Control> class BoundControl final : public HostedControl {
public:
    BoundControl(
        const BindingTable<Control>& table, std::unique_ptr<ControlSurface> surface, const Platform& platform)
        : m_Table(table)
        , m_Surface(std::move(surface))
        , m_Control(*m_Surface, platform)
    {
    }

    [[nodiscard]] std::u16string_view typeName() const override { return m_Table.typeName; }
    [[nodiscard]] ControlSurface& surface() override { return *m_Surface; }

    [[nodiscard]] std::optional<PropertyBinding> property(std::u16string_view name) override
    {
        const auto found = m_Table.properties.find(name);
        if (found == m_Table.properties.end())
            return std::nullopt;
        const PropertyAccess<Control>& access = found->second;
        PropertyBinding binding { access.type, {}, {} };
        if (access.get)
            binding.get = [this, get = access.get] { return get(m_Control); };
        if (access.set)
            binding.set = [this, set = access.set](const PropertyValue& value) { set(m_Control, value); };
        return binding;
    }

    [[nodiscard]] Event* event(std::u16string_view name) override
    {
        const auto found = m_Table.events.find(name);
        return found == m_Table.events.end() ? nullptr : &(m_Control.*(found->second));
    }

    [[nodiscard]] std::vector<std::u16string> propertyNames() const override
    {
        return KeysOf(m_Table.properties);
    }
    [[nodiscard]] std::vector<std::u16string> eventNames() const override { return KeysOf(m_Table.events); }

    void resized() override { m_Control.UserControl_Resize(); }

private:
    template<typename Map> static std::vector<std::u16string> KeysOf(const Map& map)
    {
        std::vector<std::u16string> keys;
        keys.reserve(map.size());
        for (const auto& entry : map)
            keys.push_back(entry.first);
        return keys;
    }

    const BindingTable<Control>& m_Table;
    std::unique_ptr<ControlSurface> m_Surface;
    Control m_Control;
};

} // namespace vestrak
