#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../qt/control_widget_host.h"

#include <QString>
#include <memory>

namespace vestrak {

class CiTree;

// The navigation tree as a Qt widget: place it like any widget, set its properties, connect to
// its signals. Property and signal names are those of the control.
class VESTRAK_QTWIDGETS_EXPORT CiTreeWidget final : public ControlWidgetHost {
    Q_OBJECT
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
    Q_PROPERTY(QString ObjectFileSection READ ObjectFileSection WRITE setObjectFileSection)
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QString SelectedObject READ SelectedObject WRITE setSelectedObject)
    Q_PROPERTY(QString SelectedObjectExtraInfo READ SelectedObjectExtraInfo WRITE setSelectedObjectExtraInfo)
    Q_PROPERTY(QString SelectedObjectExtraKey READ SelectedObjectExtraKey DESIGNABLE false STORED false)
    Q_PROPERTY(int CollapseTime READ CollapseTime WRITE setCollapseTime)
    // Last: Qt Designer writes properties in this order, and Style builds with all the others set.
    Q_PROPERTY(int Style READ Style WRITE setStyle)
public:
    // On the application platform (see application_platform.h).
    explicit CiTreeWidget(QWidget* parent = nullptr);
    // The platform must outlive the widget.
    explicit CiTreeWidget(const Platform& platform, QWidget* parent = nullptr);
    ~CiTreeWidget() override;

    [[nodiscard]] CiTree& control() const { return *m_Control; }

    [[nodiscard]] QString ObjectFile() const;
    void setObjectFile(const QString& value);
    [[nodiscard]] QString ObjectFileSection() const;
    void setObjectFileSection(const QString& value);
    [[nodiscard]] QString RootObject() const;
    void setRootObject(const QString& value);
    [[nodiscard]] int Style() const;
    // Builds the tree (or list) from the object file.
    void setStyle(int value);
    [[nodiscard]] int BackColor() const;
    void setBackColor(int value);
    [[nodiscard]] QString SelectedObject() const;
    void setSelectedObject(const QString& value);
    [[nodiscard]] QString SelectedObjectExtraInfo() const;
    void setSelectedObjectExtraInfo(const QString& value);
    // A null string before the first build, when the control has no key to give.
    [[nodiscard]] QString SelectedObjectExtraKey() const;
    [[nodiscard]] int CollapseTime() const;
    void setCollapseTime(int value);

public slots:
    // Write-only properties of the control.
    void setExpandedWidth(int pixels);
    void setExpandedHeight(int pixels);
    void setControlVisible(int value);

signals:
    void Click();
    void NodeClick();
    void NodeDoubleClick();

private:
    std::unique_ptr<CiTree> m_Control;
};

} // namespace vestrak
