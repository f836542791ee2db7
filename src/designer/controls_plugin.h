#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

namespace vestrak {

// The plugin Qt Designer and QUiLoader load: CiTreeWidget and CiStatusWidget in a group of their
// own in the widget box.
class ControlsPlugin final : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit ControlsPlugin(QObject* parent = nullptr);

    [[nodiscard]] QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return m_Widgets; }

private:
    QList<QDesignerCustomWidgetInterface*> m_Widgets;
};

} // namespace vestrak
