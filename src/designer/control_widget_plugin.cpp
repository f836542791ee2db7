#include "control_widget_plugin.h"

#include "designer_platform.h"
#include "qt/application_platform.h"

namespace vestrak {

ControlWidgetPlugin::ControlWidgetPlugin(ControlWidgetDescription description, QObject* parent)
    : QObject(parent)
    , m_Description(std::move(description))
{
}

QString ControlWidgetPlugin::group() const
{
    return QStringLiteral("Vestrak Controls");
}

// Angle brackets make Designer write a global include, which is how the installed headers are
// reached.
QString ControlWidgetPlugin::includeFile() const
{
    return '<' + m_Description.header + '>';
}

void ControlWidgetPlugin::initialize(QDesignerFormEditorInterface* formEditor)
{
    if (m_Initialized)
        return;
    m_Initialized = true;
    if (formEditor)
        m_Home = Home::Designer;
}

QWidget* ControlWidgetPlugin::createWidget(QWidget* parent)
{
    return m_Description.create(
        m_Home == Home::Designer ? designerPlatform() : applicationPlatform(), parent);
}

QString ControlWidgetPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="%1" name="%2">
  <property name="geometry"><rect><x>0</x><y>0</y><width>320</width><height>240</height></rect></property>
 </widget>
</ui>
)")
        .arg(m_Description.className, m_Description.objectName);
}

} // namespace vestrak
