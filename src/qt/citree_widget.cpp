#include "qt/citree_widget.h"

#include "citree/citree.h"
#include "ports/control_error.h"
#include "qt/application_platform.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_text.h"

namespace vestrak {

CiTreeWidget::CiTreeWidget(QWidget* parent)
    : CiTreeWidget(applicationPlatform(), parent)
{
}

CiTreeWidget::CiTreeWidget(const Platform& platform, QWidget* parent)
    : ControlWidgetHost(parent)
    , m_Control(std::make_unique<CiTree>(surface(), platform))
{
    m_Connections += m_Control->Click.connect([this] { emit Click(); });
    m_Connections += m_Control->NodeClick.connect([this] { emit NodeClick(); });
    m_Connections += m_Control->NodeDoubleClick.connect([this] { emit NodeDoubleClick(); });
    runLayoutWith([this] { m_Control->UserControl_Resize(); });
}

// The control ends while its surface and widgets still exist.
CiTreeWidget::~CiTreeWidget()
{
    m_Control.reset();
}

QString CiTreeWidget::ObjectFile() const
{
    return toQString(m_Control->ObjectFile());
}

void CiTreeWidget::setObjectFile(const QString& value)
{
    m_Control->setObjectFile(fromQString(value));
}

QString CiTreeWidget::ObjectFileSection() const
{
    return toQString(m_Control->ObjectFileSection());
}

void CiTreeWidget::setObjectFileSection(const QString& value)
{
    m_Control->setObjectFileSection(fromQString(value));
}

QString CiTreeWidget::RootObject() const
{
    return toQString(m_Control->RootObject());
}

void CiTreeWidget::setRootObject(const QString& value)
{
    m_Control->setRootObject(fromQString(value));
}

int CiTreeWidget::Style() const
{
    return m_Control->Style();
}

void CiTreeWidget::setStyle(int value)
{
    m_Control->setStyle(value);
}

int CiTreeWidget::BackColor() const
{
    return m_Control->BackColor();
}

void CiTreeWidget::setBackColor(int value)
{
    m_Control->setBackColor(value);
}

QString CiTreeWidget::SelectedObject() const
{
    return toQString(m_Control->SelectedObject());
}

void CiTreeWidget::setSelectedObject(const QString& value)
{
    m_Control->setSelectedObject(fromQString(value));
}

QString CiTreeWidget::SelectedObjectExtraInfo() const
{
    return toQString(m_Control->SelectedObjectExtraInfo());
}

void CiTreeWidget::setSelectedObjectExtraInfo(const QString& value)
{
    m_Control->setSelectedObjectExtraInfo(fromQString(value));
}

QString CiTreeWidget::SelectedObjectExtraKey() const
{
    try {
        return toQString(m_Control->SelectedObjectExtraKey());
    } catch (const ControlError&) {
        return {};
    }
}

int CiTreeWidget::CollapseTime() const
{
    return m_Control->CollapseTime();
}

void CiTreeWidget::setCollapseTime(int value)
{
    m_Control->setCollapseTime(value);
}

void CiTreeWidget::setExpandedWidth(int pixels)
{
    m_Control->setExpandedWidth(pixels);
}

void CiTreeWidget::setExpandedHeight(int pixels)
{
    m_Control->setExpandedHeight(pixels);
}

void CiTreeWidget::setControlVisible(int value)
{
    m_Control->setVisible(value);
}

} // namespace vestrak
