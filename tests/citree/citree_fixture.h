#pragma once

#include "citree/citree.h"
#include "citree/settings_names.h"
#include "headless/headless_surface.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace vestrak::testing {

inline constexpr const char* ExampleSection
    = "[TreeObjects]\nP=1,Plant\nP1/North=1,Area 1\nP11=5,Pump 1\nP12=5,Pump 2\nP2=1,Area 2\nQ=1,Utilities\n"
      "p21=5,Valve\n";
inline constexpr std::int32_t ShownTree = StyleObjectTree | StyleShowObjects;
inline constexpr std::int32_t ShownList = StyleObjectList | StyleShowObjects;

// A control on an in-memory surface, with a store that outlives it, virtual time and real files.
class CiTreeTest : public ::testing::Test {
protected:
    static constexpr double Width = 3000;
    static constexpr double Height = 4500;

    CiTreeTest() { create(); }

    void create(double border = 0)
    {
        control.reset();
        surface = std::make_unique<HeadlessSurface>(files, Width, Height, border);
        control = std::make_unique<CiTree>(*surface, test.platform);
    }
    void build(const std::string& content, std::int32_t style, const std::u16string& root = u"")
    {
        control->setObjectFile(files.write("objects.ini", content));
        control->setRootObject(root);
        control->setStyle(style);
    }

    template<typename Kind> Kind& widget(std::u16string_view name)
    {
        return dynamic_cast<Kind&>(*surface->widget(name));
    }
    Tree& tree() { return widget<Tree>(u"TreeView_Objects"); }
    ListBox& list() { return widget<ListBox>(u"List_Objects"); }
    Toolbar& groups() { return widget<Toolbar>(u"Toolbar_SystemFilter"); }
    TextBox& filterText() { return widget<TextBox>(u"Text_Filter"); }
    CommandButton& button(std::u16string_view name) { return widget<CommandButton>(name); }

    // "KEY parentKey text image" per node in node order, "-" standing for no parent.
    std::vector<std::string> nodes()
    {
        std::vector<std::string> described;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            const NodeRef node = tree().node(index);
            described.push_back(ToUtf8(node->key()) + " "
                + (node->parent() ? ToUtf8(node->parent()->key()) : "-") + " " + ToUtf8(node->text()) + " "
                + std::to_string(node->image()));
        }
        return described;
    }
    std::string setting(const std::u16string& section, const std::u16string& key)
    {
        return ToUtf8(store.GetSetting(SettingsApplication, section, key, u"(none)"));
    }
    void saveSetting(const std::u16string& section, const std::u16string& key, const std::u16string& value)
    {
        store.SaveSetting(SettingsApplication, section, key, value);
    }

    ScratchFiles files;
    TestPlatform test { files };
    TestSettingsStore& store = test.memoryStore;
    TestProfile& profile = test.profile;
    VirtualClock& clock = test.clock;
    std::unique_ptr<HeadlessSurface> surface;
    std::unique_ptr<CiTree> control;
};

} // namespace vestrak::testing
