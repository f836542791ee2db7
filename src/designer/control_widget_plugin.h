#pragma once

#include "ports/platform.h"

#include <QIcon>
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <functional>

namespace vestrak {

// What the widget box and the form editor need to know of one control widget.
struct ControlWidgetDescription {
    QString className;
    // Written to the forms' generated code as a global include.
    QString header;
    QString objectName;
    QString toolTip;
    QIcon icon;
    std::function<QWidget*(const Platform&, QWidget*)> create;
};

// One control widget for Qt Designer and for QUiLoader. Inside Designer (which initialises the
// plugin with its form editor) the widgets get the Designer platform; elsewhere the application
// platform, as widgets made in code do.
class ControlWidgetPlugin final : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    ControlWidgetPlugin(ControlWidgetDescription description, QObject* parent);

    [[nodiscard]] QString name() const override { return m_Description.className; }
    [[nodiscard]] QString group() const override;
    [[nodiscard]] QString toolTip() const override { return m_Description.toolTip; }
    [[nodiscard]] QString whatsThis() const override { return m_Description.toolTip; }
    [[nodiscard]] QString includeFile() const override;
    [[nodiscard]] QIcon icon() const override { return m_Description.icon; }
    [[nodiscard]] bool isContainer() const override { return false; }
    [[nodiscard]] bool isInitialized() const override { return m_Initialized; }
    void initialize(QDesignerFormEditorInterface* formEditor) override;
    QWidget* createWidget(QWidget* parent) override;
    [[nodiscard]] QString domXml() const override;

private:
    enum class Home { Application, Designer };

    ControlWidgetDescription m_Description;
    bool m_Initialized = false;
    Home m_Home = Home::Application;
};

} // namespace vestrak
