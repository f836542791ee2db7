#include "page_host_qt/qt_widget_set.h"

#include "qt_widgets/qt_surface.h"

namespace vestrak {

std::unique_ptr<ControlSurface> QtWidgetSet::createSurface(
    FileSystem& files, double outerWidth, double outerHeight, double border)
{
    return std::make_unique<QtSurface>(files, outerWidth, outerHeight, border, nullptr, TwipsPerPixel);
}

void QtWidgetSet::resize(ControlSurface& surface, double outerWidth, double outerHeight, double border)
{
    static_cast<QtSurface&>(surface).resize(outerWidth, outerHeight, border);
}

} // namespace vestrak
