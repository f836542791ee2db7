#include "window_widget_set.h"

#include "qt/qt_surface.h"

#include <algorithm>

namespace vestrak {

namespace {
constexpr int GapPixels = 12;
}

WindowWidgetSet::WindowWidgetSet(QWidget& area)
    : m_Area(area)
{
}

std::unique_ptr<ControlSurface> WindowWidgetSet::createSurface(
    double outerWidth, double outerHeight, double border)
{
    auto surface = std::make_unique<QtSurface>(outerWidth, outerHeight, border, &m_Area);
    QObject::connect(surface.get(), &QtSurface::resizedByControl, &m_Area, [this] { arrange(); });
    QObject::connect(surface.get(), &QObject::destroyed, &m_Area, [this] { arrange(); });
    m_Surfaces.emplace_back(surface.get());
    surface->show();
    arrange();
    return surface;
}

void WindowWidgetSet::resize(ControlSurface& surface, double outerWidth, double outerHeight, double border)
{
    static_cast<QtSurface&>(surface).resize(outerWidth, outerHeight, border);
    arrange();
}

void WindowWidgetSet::arrange()
{
    std::erase_if(m_Surfaces, [](const QPointer<QtSurface>& surface) { return surface.isNull(); });
    int left = GapPixels;
    int bottom = 0;
    for (const QPointer<QtSurface>& surface : m_Surfaces) {
        surface->move(left, GapPixels);
        left += surface->width() + GapPixels;
        bottom = std::max(bottom, GapPixels + surface->height());
    }
    m_Area.setMinimumSize(left, bottom + GapPixels);
}

} // namespace vestrak
