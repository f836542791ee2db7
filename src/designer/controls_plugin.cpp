#include "controls_plugin.h"

#include "control_widget_plugin.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "widget_icons.h"

namespace vestrak {

ControlsPlugin::ControlsPlugin(QObject* parent)
    : QObject(parent)
{
    m_Widgets.append(new ControlWidgetPlugin(
        { QStringLiteral("vestrak::CiTreeWidget"), QStringLiteral("vestrak/qt/citree_widget.h"),
            QStringLiteral("ciTree"),
            tr("Navigation tree of an object file: set ObjectFile, then Style to build it"),
            navigationTreeIcon(),
            [](const Platform& platform, QWidget* parent) { return new CiTreeWidget(platform, parent); } },
        this));
    m_Widgets.append(new ControlWidgetPlugin(
        { QStringLiteral("vestrak::CiStatusWidget"), QStringLiteral("vestrak/qt/cistatus_widget.h"),
            QStringLiteral("ciStatus"),
            tr("Status tree of an object file, polled through GetStatus: setting ObjectFile loads it"),
            statusTreeIcon(),
            [](const Platform& platform, QWidget* parent) { return new CiStatusWidget(platform, parent); } },
        this));
}

} // namespace vestrak
