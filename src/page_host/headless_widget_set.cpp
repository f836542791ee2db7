#include "page_host/headless_widget_set.h"

#include "headless/headless_surface.h"

namespace vestrak {

std::unique_ptr<ControlSurface> HeadlessWidgetSet::createSurface(
    FileSystem& files, double outerWidth, double outerHeight, double border)
{
    return std::make_unique<HeadlessSurface>(files, outerWidth, outerHeight, border);
}

void HeadlessWidgetSet::resize(ControlSurface& surface, double outerWidth, double outerHeight, double border)
{
    dynamic_cast<HeadlessSurface&>(surface).resize(outerWidth, outerHeight, border);
}

} // namespace vestrak
