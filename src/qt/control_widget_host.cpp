#include "qt/control_widget_host.h"

#include "qt_widgets/qt_surface.h"

#include <QResizeEvent>

namespace vestrak {

namespace {
constexpr double DesignWidthTwips = 4800;
constexpr double DesignHeightTwips = 3600;
} // namespace

ControlWidgetHost::ControlWidgetHost(QWidget* parent)
    : QWidget(parent)
    // The widget owns its surface as a child.
    , m_Surface(new QtSurface(DesignWidthTwips, DesignHeightTwips, 0, this))
{
    QWidget::resize(m_Surface->size());
    connect(m_Surface, &QtSurface::resizedByControl, this, [this] {
        updateGeometry();
        QWidget::resize(m_Surface->size());
    });
}

ControlSurface& ControlWidgetHost::surface() const
{
    return *m_Surface;
}

QSize ControlWidgetHost::sizeHint() const
{
    return m_Surface->size();
}

void ControlWidgetHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size() == m_Surface->size())
        return;
    m_Surface->resizeToPixels(event->size());
    if (m_Layout)
        m_Layout();
}

} // namespace vestrak
