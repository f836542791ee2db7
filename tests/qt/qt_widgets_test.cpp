#include "ports/widget_contract.h"
#include "qt/qt_surface.h"

using namespace vestrak;

INSTANTIATE_TEST_SUITE_P(Qt, WidgetContract,
    testing::Values(NamedSurfaceFactory { "Qt",
        [](double width, double height, double border) {
            return std::make_unique<QtSurface>(width, height, border);
        } }),
    surfaceFactoryName);
