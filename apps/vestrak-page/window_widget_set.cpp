#include "window_widget_set.h"

#include "qt_widgets/qt_surface.h"

#include <QEvent>
#include <algorithm>

namespace vestrak {

namespace {

constexpr int GapPixels = 12;

// Lays the controls out again whenever the area changes its size.
class AreaWatcher final : public QObject {
public:
    AreaWatcher(QWidget& area, std::function<void()> resized)
        : m_Resized(std::move(resized))
    {
        area.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            m_Resized();
        return false;
    }

private:
    std::function<void()> m_Resized;
};

} // namespace

WindowWidgetSet::WindowWidgetSet(QWidget& area)
    : m_Area(area)
    , m_AreaWatcher(std::make_unique<AreaWatcher>(area, [this] { arrange(); }))
{
}

WindowWidgetSet::~WindowWidgetSet() = default;

std::unique_ptr<ControlSurface> WindowWidgetSet::createSurface(
    FileSystem& files, double outerWidth, double outerHeight, double border)
{
    auto surface = std::make_unique<QtSurface>(files, outerWidth, outerHeight, border, &m_Area);
    // Later, so that a control in the middle of sizing itself is not laid out from within.
    QObject::connect(
        surface.get(), &QtSurface::resizedByControl, &m_Area, [this] { arrange(); }, Qt::QueuedConnection);
    QObject::connect(surface.get(), &QObject::destroyed, &m_Area, [this](QObject* gone) { forget(gone); });
    m_Slots.push_back({ surface.get(), surface.get(), surface->size(), surface->size() });
    surface->show();
    arrange();
    return surface;
}

void WindowWidgetSet::resize(ControlSurface& surface, double outerWidth, double outerHeight, double border)
{
    auto& resized = static_cast<QtSurface&>(surface);
    resized.resize(outerWidth, outerHeight, border);
    for (Slot& slot : m_Slots) {
        if (slot.surface == &resized) {
            slot.page = resized.size();
            slot.given = resized.size();
        }
    }
    arrange();
}

void WindowWidgetSet::forget(const QObject* gone)
{
    // Told while the surface is half destroyed, before its guarded pointer is cleared.
    std::erase_if(m_Slots, [gone](const Slot& slot) { return slot.object == gone; });
    arrange();
}

// A control whose size is the page's or the one this set gave it follows the area; one that gave
// itself another size (collapsed, or expanded to a size of its own) keeps it.
bool WindowWidgetSet::followsTheArea(const Slot& slot)
{
    const QSize now = slot.surface->size();
    return now == slot.page || now == slot.given;
}

void WindowWidgetSet::arrange()
{
    std::erase_if(m_Slots, [](const Slot& slot) { return slot.surface.isNull(); });
    std::vector<QSize> needs;
    int naturalWidth = GapPixels;
    int naturalHeight = 0;
    int neededWidths = 0;
    for (const Slot& slot : m_Slots) {
        const QSize need = followsTheArea(slot) ? slot.page : slot.page.expandedTo(slot.surface->size());
        needs.push_back(need);
        naturalWidth += need.width() + GapPixels;
        naturalHeight = std::max(naturalHeight, need.height());
        neededWidths += need.width();
    }
    m_Area.setMinimumSize(naturalWidth, naturalHeight + 2 * GapPixels);
    // Until the window shows, the controls keep the page's sizes: a control takes the size it
    // starts with as the one to expand to.
    const bool shown = m_Area.isVisible();
    const int spareWidth = shown ? std::max(0, m_Area.width() - naturalWidth) : 0;
    const int areaHeight = shown ? m_Area.height() - 2 * GapPixels : 0;
    int left = GapPixels;
    for (std::size_t index = 0; index < m_Slots.size(); ++index) {
        Slot& slot = m_Slots[index];
        const QSize need = needs[index];
        const int room = need.width() + (neededWidths > 0 ? spareWidth * need.width() / neededWidths : 0);
        slot.surface->move(left, GapPixels);
        left += room + GapPixels;
        const QSize target(room, std::max(need.height(), areaHeight));
        if (!followsTheArea(slot) || slot.surface->size() == target)
            continue;
        slot.given = target;
        slot.surface->resizeToPixels(target);
        if (m_ResizeHandling)
            m_ResizeHandling(*slot.surface);
    }
}

} // namespace vestrak
