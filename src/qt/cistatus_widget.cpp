#include "qt/cistatus_widget.h"

#include "cistatus/cistatus.h"
#include "qt/application_platform.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_text.h"

namespace vestrak {

CiStatusWidget::CiStatusWidget(QWidget* parent)
    : CiStatusWidget(applicationPlatform(), parent)
{
}

CiStatusWidget::CiStatusWidget(const Platform& platform, QWidget* parent)
    : ControlWidgetHost(parent)
    , m_Control(std::make_unique<CiStatus>(surface(), platform))
{
    m_Connections += m_Control->GetStatus.connect([this] { emit GetStatus(); });
    m_Connections += m_Control->NodeClick.connect([this] { emit NodeClick(); });
    m_Connections += m_Control->NodeDblClick.connect([this] { emit NodeDblClick(); });
    m_Connections += m_Control->PopupMenuItemClick.connect([this] { emit PopupMenuItemClick(); });
    runLayoutWith([this] { m_Control->UserControl_Resize(); });
}

// The control ends while its surface and widgets still exist.
CiStatusWidget::~CiStatusWidget()
{
    m_Control.reset();
}

QString CiStatusWidget::ObjectFile() const
{
    return toQString(m_Control->ObjectFile());
}

void CiStatusWidget::setObjectFile(const QString& value)
{
    m_Control->setObjectFile(fromQString(value));
}

QString CiStatusWidget::RootObject() const
{
    return toQString(m_Control->RootObject());
}

void CiStatusWidget::setRootObject(const QString& value)
{
    m_Control->setRootObject(fromQString(value));
}

QString CiStatusWidget::ObjectTagName()
{
    return toQString(m_Control->ObjectTagName());
}

int CiStatusWidget::ObjectStatus() const
{
    return m_Control->ObjectStatus();
}

void CiStatusWidget::setObjectStatus(int value)
{
    m_Control->setObjectStatus(value);
}

int CiStatusWidget::UpdateInterval() const
{
    return m_Control->UpdateInterval();
}

void CiStatusWidget::setUpdateInterval(int value)
{
    m_Control->setUpdateInterval(value);
}

int CiStatusWidget::Behaviour() const
{
    return m_Control->Behaviour();
}

void CiStatusWidget::setBehaviour(int value)
{
    m_Control->setBehaviour(value);
}

QString CiStatusWidget::SelectedNode() const
{
    return toQString(m_Control->SelectedNode());
}

QString CiStatusWidget::SelectedNodeCode() const
{
    return toQString(m_Control->SelectedNodeCode());
}

QString CiStatusWidget::SelectedNodeTagName() const
{
    return toQString(m_Control->SelectedNodeTagName());
}

QString CiStatusWidget::SelectedPopupMenuItem() const
{
    return toQString(m_Control->SelectedPopupMenuItem());
}

int CiStatusWidget::BackColor() const
{
    return m_Control->BackColor();
}

void CiStatusWidget::setBackColor(int value)
{
    m_Control->setBackColor(value);
}

int CiStatusWidget::PictureVisible() const
{
    return m_Control->PictureVisible();
}

void CiStatusWidget::setPictureVisible(int value)
{
    m_Control->setPictureVisible(value);
}

int CiStatusWidget::PictureWidth() const
{
    return m_Control->PictureWidth();
}

void CiStatusWidget::setPictureWidth(int value)
{
    m_Control->setPictureWidth(value);
}

int CiStatusWidget::TextHeight() const
{
    return m_Control->TextHeight();
}

void CiStatusWidget::setTextHeight(int value)
{
    m_Control->setTextHeight(value);
}

void CiStatusWidget::setPopupMenuItem(const QString& nameAndCaption)
{
    m_Control->setPopupMenuItem(fromQString(nameAndCaption));
}

} // namespace vestrak
