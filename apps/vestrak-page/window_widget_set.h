#pragma once

#include "page_host/widget_set.h"

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace vestrak {

class QtSurface;

// Places each control of the page on one area of a window, side by side in the order they were
// created, and keeps the area as large as the controls need. A larger area is shared out: each
// control grows in proportion to the width the page gave it and takes the area's height. Each
// control keeps the room it had when it shrinks itself (a tree that collapses), so its neighbours
// stay where they are, and keeps the size it gave itself until the page's size is back.
class WindowWidgetSet final : public WidgetSet {
public:
    // Runs the resize handling of the control on a surface this set resized by itself.
    using ResizeHandling = std::function<void(ControlSurface&)>;

    explicit WindowWidgetSet(QWidget& area);
    ~WindowWidgetSet() override;

    std::unique_ptr<ControlSurface> createSurface(
        FileSystem& files, double outerWidth, double outerHeight, double border) override;
    void resize(ControlSurface& surface, double outerWidth, double outerHeight, double border) override;
    void setResizeHandling(ResizeHandling handling) { m_ResizeHandling = std::move(handling); }

    // Lays the controls out again (a control changed its own size, the area was resized).
    void arrange();

private:
    struct Slot {
        QPointer<QtSurface> surface;
        // The surface as a plain object, for telling which one goes while it is half destroyed:
        // the guarded pointer would read it as a surface that no longer is one.
        const QObject* object = nullptr;
        // The size the page gave the control, and the one this set gave it last, in pixels.
        QSize page;
        QSize given;
    };

    void forget(const QObject* gone);
    [[nodiscard]] static bool followsTheArea(const Slot& slot);

    QWidget& m_Area;
    std::unique_ptr<QObject> m_AreaWatcher;
    std::vector<Slot> m_Slots;
    ResizeHandling m_ResizeHandling;
};

} // namespace vestrak
