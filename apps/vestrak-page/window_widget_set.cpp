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
    QObject::connect(surface.get(), &QObject::destroyed, &m_Area, [this](QObject* gone) { forget(gone); });
    m_Slots.push_back({ surface.get(), surface->width() });
    surface->show();
    arrange();
    return surface;
}

void WindowWidgetSet::resize(ControlSurface& surface, double outerWidth, double outerHeight, double border)
{
    auto& resized = static_cast<QtSurface&>(surface);
    resized.resize(outerWidth, outerHeight, border);
    for (Slot& slot : m_Slots) {
        if (slot.surface == &resized)
            slot.width = resized.width();
    }
    arrange();
}

void WindowWidgetSet::forget(const QObject* gone)
{
    // Told while the surface is half destroyed, before its guarded pointer is cleared.
    std::erase_if(m_Slots, [gone](const Slot& slot) { return slot.surface.data() == gone; });
    arrange();
}

void WindowWidgetSet::arrange()
{
    std::erase_if(m_Slots, [](const Slot& slot) { return slot.surface.isNull(); });
    int left = GapPixels;
    int bottom = 0;
    for (const Slot& slot : m_Slots) {
        slot.surface->move(left, GapPixels);
        left += std::max(slot.width, slot.surface->width()) + GapPixels;
        bottom = std::max(bottom, GapPixels + slot.surface->height());
    }
    m_Area.setMinimumSize(left, bottom + GapPixels);
}

} // namespace vestrak
