#include "qt/control_widget_host.h"

#include "qt/application_platform.h"
#include "qt_widgets/qt_surface.h"

#include <QMetaProperty>
#include <QResizeEvent>
#include <QTimer>

namespace vestrak {

namespace {
constexpr double DesignWidthTwips = 4800;
constexpr double DesignHeightTwips = 3600;
} // namespace

ControlWidgetHost::ControlWidgetHost(QWidget* parent)
    : ControlWidgetHost(applicationPlatform().files, parent)
{
}

ControlWidgetHost::ControlWidgetHost(FileSystem& files, QWidget* parent)
    : QWidget(parent)
    // The widget owns its surface as a child.
    , m_Surface(new QtSurface(files, DesignWidthTwips, DesignHeightTwips, 0, this))
{
    QWidget::resize(m_Surface->size());
    connect(m_Surface, &QtSurface::resizedByControl, this, [this] {
        updateGeometry();
        QWidget::resize(m_Surface->size());
    });
    // uic and QUiLoader apply every property before control returns to the event loop.
    QTimer::singleShot(0, this, &ControlWidgetHost::finishSetUp);
}

ControlSurface& ControlWidgetHost::surface() const
{
    return *m_Surface;
}

QSize ControlWidgetHost::sizeHint() const
{
    return m_Surface->size();
}

void ControlWidgetHost::buildRan()
{
    if (m_SetUp != SetUp::Done)
        m_SetUp = SetUp::BuiltWhileApplying;
}

void ControlWidgetHost::buildInputChanged()
{
    if (m_SetUp == SetUp::BuiltWhileApplying)
        m_SetUp = SetUp::BuildOutOfDate;
}

void ControlWidgetHost::finishSetUp()
{
    const bool outOfDate = m_SetUp == SetUp::BuildOutOfDate;
    m_SetUp = SetUp::Done;
    if (outOfDate && m_Build) {
        m_Build();
        announceChangedProperties();
    }
}

// A value nobody listens for is not read: some take long (the extra key of the selected object
// looks through every line). It is read as someone connects, and told from then on.
void ControlWidgetHost::announceChangedProperties()
{
    const QMetaObject& meta = *metaObject();
    const int first = staticMetaObject.propertyCount();
    const bool firstCall = m_AnnouncedValues.empty();
    m_AnnouncedValues.resize(static_cast<std::size_t>(meta.propertyCount() - first));
    for (int index = first; index < meta.propertyCount(); ++index) {
        const QMetaProperty property = meta.property(index);
        if (!property.hasNotifySignal())
            continue;
        std::optional<QVariant>& announced = m_AnnouncedValues[static_cast<std::size_t>(index - first)];
        if (!isSignalConnected(property.notifySignal())) {
            announced.reset();
            continue;
        }
        QVariant value = property.read(this);
        if (announced == value)
            continue;
        announced = std::move(value);
        if (!firstCall)
            property.notifySignal().invoke(this, Qt::DirectConnection);
    }
}

void ControlWidgetHost::connectNotify(const QMetaMethod& signal)
{
    QWidget::connectNotify(signal);
    const QMetaObject& meta = *metaObject();
    const int first = staticMetaObject.propertyCount();
    if (m_AnnouncedValues.empty())
        return;
    for (int index = first; index < meta.propertyCount(); ++index) {
        const QMetaProperty property = meta.property(index);
        std::optional<QVariant>& announced = m_AnnouncedValues[static_cast<std::size_t>(index - first)];
        if (property.hasNotifySignal() && property.notifySignal() == signal && !announced)
            announced = property.read(this);
    }
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

void ControlWidgetHost::showEvent(QShowEvent* event)
{
    finishSetUp();
    QWidget::showEvent(event);
}

} // namespace vestrak
