#pragma once

#include "linux_platform/local_file_system.h"
#include "ports/control_surface.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// What every widget set promises the controls. A widget set runs this suite by instantiating
// WidgetContract with a factory of its surfaces (15 twips per pixel) reading the given files.
using SurfaceFactory = std::function<std::unique_ptr<vestrak::ControlSurface>(
    vestrak::FileSystem& files, double outerWidth, double outerHeight, double border)>;

struct NamedSurfaceFactory {
    std::string name;
    SurfaceFactory make;
};

class WidgetContract : public testing::TestWithParam<NamedSurfaceFactory> {
protected:
    // A tree five rows high.
    vestrak::Tree& addTree(vestrak::ImageList images = vestrak::ImageList::SystemIcons)
    {
        return surface->addTree(u"Tree", { 0, 0, 3000, 5 * 18 * 15 }, images, true);
    }

    vestrak::LocalFileSystem files;
    std::unique_ptr<vestrak::ControlSurface> surface = GetParam().make(files, 4800, 3600, 0);
};

inline std::string surfaceFactoryName(const testing::TestParamInfo<NamedSurfaceFactory>& info)
{
    return info.param.name;
}
