#include "headless/headless_surface.h"
#include "ports/widget_contract.h"

using namespace vestrak;

INSTANTIATE_TEST_SUITE_P(Headless, WidgetContract,
    testing::Values(NamedSurfaceFactory { "Headless",
        [](FileSystem& files, double width, double height, double border) {
            return std::make_unique<HeadlessSurface>(files, width, height, border);
        } }),
    surfaceFactoryName);
