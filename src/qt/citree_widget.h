#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../qt/control_widget_host.h"

#include <QString>
#include <memory>

namespace vestrak {

class CiTree;

/// The navigation tree as a Qt widget: place it like any widget, set its properties, connect to
/// its signals. Property and signal names are those of the control.
class VESTRAK_QTWIDGETS_EXPORT CiTreeWidget final : public ControlWidgetHost {
    Q_OBJECT
    /// The object file the tree is built from; takes effect at the next build.
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
    /// The section of the object file a build reads.
    Q_PROPERTY(QString ObjectFileSection READ ObjectFileSection WRITE setObjectFileSection)
    /// Comma list of the code prefixes of the objects shown; takes effect at the next build.
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    /// Back colour, as hosts give colours (0x00BBGGRR, or a system colour with the top bit set).
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor)
    /// Code of the selected object.
    Q_PROPERTY(QString SelectedObject READ SelectedObject WRITE setSelectedObject)
    /// Extra info of the selected object.
    Q_PROPERTY(QString SelectedObjectExtraInfo READ SelectedObjectExtraInfo WRITE setSelectedObjectExtraInfo)
    /// Key of the extra info of the selected object; read-only.
    Q_PROPERTY(QString SelectedObjectExtraKey READ SelectedObjectExtraKey DESIGNABLE false STORED false)
    /// Idle seconds before a collapsible tree collapses; 0 never.
    Q_PROPERTY(int CollapseTime READ CollapseTime WRITE setCollapseTime)
    /// The Style bits; setting them builds the tree (or list) from the object file.
    // Last: Qt Designer writes properties in this order, and Style builds with all the others set.
    Q_PROPERTY(int Style READ Style WRITE setStyle)
public:
    /// A navigation tree on the application platform (see application_platform.h).
    explicit CiTreeWidget(QWidget* parent = nullptr);
    /// A navigation tree on the given platform, which must outlive the widget.
    explicit CiTreeWidget(const Platform& platform, QWidget* parent = nullptr);
    ~CiTreeWidget() override;

    /// The control itself, for what the properties do not cover.
    [[nodiscard]] CiTree& control() const { return *m_Control; }

    ///@{
    /// The object file; next build. See CiTree::ObjectFile().
    [[nodiscard]] QString ObjectFile() const;
    void setObjectFile(const QString& value);
    ///@}
    ///@{
    /// The section a build reads. See CiTree::ObjectFileSection().
    [[nodiscard]] QString ObjectFileSection() const;
    void setObjectFileSection(const QString& value);
    ///@}
    ///@{
    /// Comma list of code prefixes; next build. See CiTree::RootObject().
    [[nodiscard]] QString RootObject() const;
    void setRootObject(const QString& value);
    ///@}
    ///@{
    /// The Style bits; setting them builds the tree (or list) from the object file.
    [[nodiscard]] int Style() const;
    void setStyle(int value);
    ///@}
    ///@{
    /// Back colour: the list at once, the tree at the next build. See CiTree::BackColor().
    [[nodiscard]] int BackColor() const;
    void setBackColor(int value);
    ///@}
    ///@{
    /// Code of the selected object. See CiTree::SelectedObject().
    [[nodiscard]] QString SelectedObject() const;
    void setSelectedObject(const QString& value);
    ///@}
    ///@{
    /// Extra info of the selected object. See CiTree::SelectedObjectExtraInfo().
    [[nodiscard]] QString SelectedObjectExtraInfo() const;
    void setSelectedObjectExtraInfo(const QString& value);
    ///@}
    /// A null string before the first build, when the control has no key to give.
    [[nodiscard]] QString SelectedObjectExtraKey() const;
    ///@{
    /// Idle seconds before a collapsible tree collapses; 0 never.
    [[nodiscard]] int CollapseTime() const;
    void setCollapseTime(int value);
    ///@}

public slots:
    /// Width in pixels that expanding gives the control. See CiTree::setExpandedWidth().
    void setExpandedWidth(int pixels);
    /// Height in pixels that expanding gives the control.
    void setExpandedHeight(int pixels);
    /// The control's Visible property: shows (not 0) or hides (0) the tree or list at once.
    void setControlVisible(int value);

signals:
    /// The operator clicked the Home button.
    void Click();
    /// The operator selected a node or item; read SelectedObject() and its companions.
    void NodeClick();
    /// The operator double-clicked the tree or the list.
    void NodeDoubleClick();

private:
    std::unique_ptr<CiTree> m_Control;
};

} // namespace vestrak
