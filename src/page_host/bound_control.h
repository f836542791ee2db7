#pragma once

#include "page_host/hosted_control.h"
#include "ports/control_properties.h"
#include "ports/platform.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <utility>

namespace vestrak {

// The names a host uses for one control type: its properties and its events.
template<typename Control> struct BindingTable {
    std::u16string typeName;
    std::span<const ControlProperty<Control>> properties;
    std::map<std::u16string, Event Control::*, std::less<>> events;
};

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
        const auto found = std::find_if(m_Table.properties.begin(), m_Table.properties.end(),
            [name](const ControlProperty<Control>& entry) { return entry.name == name; });
        if (found == m_Table.properties.end())
            return std::nullopt;
        const ControlProperty<Control>& entry = *found;
        PropertyBinding binding { entry.valueType(), {}, {} };
        if (entry.get)
            binding.get = [this, get = entry.get] { return get(m_Control); };
        if (entry.set)
            binding.set = [this, set = entry.set](const PropertyValue& value) { set(m_Control, value); };
        return binding;
    }

    [[nodiscard]] Event* event(std::u16string_view name) override
    {
        const auto found = m_Table.events.find(name);
        return found == m_Table.events.end() ? nullptr : &(m_Control.*(found->second));
    }

    [[nodiscard]] std::vector<std::u16string> propertyNames() const override
    {
        std::vector<std::u16string> names;
        names.reserve(m_Table.properties.size());
        for (const ControlProperty<Control>& entry : m_Table.properties)
            names.emplace_back(entry.name);
        std::ranges::sort(names);
        return names;
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
