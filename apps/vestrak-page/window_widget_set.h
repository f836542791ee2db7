#pragma once

#include "container/widget_set.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace vestrak {

class QtSurface;

// Places each control of the page on one area of a window, side by side in the order they were
// created, and keeps the area as large as the controls need. Each control keeps the room the page
// gave it when it shrinks itself (a tree that collapses), so its neighbours stay where they are.
class WindowWidgetSet final : public WidgetSet {
public:
    explicit WindowWidgetSet(QWidget& area);

    std::unique_ptr<ControlSurface> createSurface(
        double outerWidth, double outerHeight, double border) override;
    void resize(ControlSurface& surface, double outerWidth, double outerHeight, double border) override;

    // Lays the controls out again (a control changed its own size).
    void arrange();

private:
    void forget(const QObject* gone);

    QWidget& m_Area;
    struct Slot {
        QPointer<QWidget> surface;
        int width = 0;
    };
    std::vector<Slot> m_Slots;
};

} // namespace vestrak
