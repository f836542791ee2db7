#pragma once

#include "cistatus/cistatus.h"
#include "headless/headless_surface.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace vestrak::testing {

// A status tree control 4800 x 3600 twips on the in-memory widget set, in virtual time.
class CiStatusTest : public ::testing::Test {
protected:
    CiStatusTest()
        : surface(std::make_unique<HeadlessSurface>(files, 4800, 3600))
        , control(std::make_unique<CiStatus>(*surface, platform))
    {
        control->UserControl_Resize();
    }

    // Loads a "TreeObjects" section of these lines, followed by `moreSections`.
    void load(const std::vector<std::string>& lines, const std::string& moreSections = {})
    {
        std::string text = "[TreeObjects]\r\n";
        for (const auto& line : lines) {
            text += line + "\r\n";
        }
        control->setObjectFile(files.write("Objects.ini", text + moreSections));
    }

    [[nodiscard]] Tree& tree() const { return static_cast<Tree&>(*surface->widget(u"TreeView_Status")); }
    [[nodiscard]] Widget& widget(std::u16string_view name) const { return *surface->widget(name); }
    [[nodiscard]] NodeRef node(const std::u16string& key) const { return tree().find(key); }

    // The tree by keys, children in brackets: "A/0(A1/1),B/2".
    [[nodiscard]] std::string shape(const NodeRef& parent = nullptr) const
    {
        std::string text;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            const NodeRef each = tree().node(index);
            if (each->parent() != parent) {
                continue;
            }
            text += (text.empty() ? "" : ",") + ToUtf8(each->key());
            if (each->children() > 0) {
                text += "(" + shape(each) + ")";
            }
        }
        return text;
    }

    // The image of every node in node order.
    [[nodiscard]] std::vector<std::int32_t> images() const
    {
        std::vector<std::int32_t> result;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            result.push_back(tree().node(index)->image());
        }
        return result;
    }

    ScratchFiles files;
    TestPlatform test { files };
    MemorySettingsStore& settings = test.memoryStore;
    VirtualClock& clock = test.clock;
    Platform& platform = test.platform;
    std::unique_ptr<HeadlessSurface> surface;
    std::unique_ptr<CiStatus> control;
};

} // namespace vestrak::testing
