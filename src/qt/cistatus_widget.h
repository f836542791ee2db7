#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../qt/control_widget_host.h"

#include <QString>
#include <memory>

namespace vestrak {

class CiStatus;

/// The status tree as a Qt widget. Property and signal names are those of the control; the status
/// query is a method, as reading the next tag moves the control's cursor.
class VESTRAK_QTWIDGETS_EXPORT CiStatusWidget final : public ControlWidgetHost {
    Q_OBJECT
    /// Comma list of the code prefixes of the objects shown; takes effect at the next load.
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    /// The status of the object under the query cursor, set in answer to GetStatus.
    // The answer to a status query, not a page setting.
    Q_PROPERTY(int ObjectStatus READ ObjectStatus WRITE setObjectStatus DESIGNABLE false STORED false)
    /// Milliseconds between GetStatus signals.
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE setUpdateInterval)
    /// The Behaviour bits.
    Q_PROPERTY(int Behaviour READ Behaviour WRITE setBehaviour)
    /// The text of the node clicked last; read-only.
    Q_PROPERTY(QString SelectedNode READ SelectedNode DESIGNABLE false STORED false)
    /// The code of the object clicked last; read-only.
    Q_PROPERTY(QString SelectedNodeCode READ SelectedNodeCode DESIGNABLE false STORED false)
    /// The tag name of the object clicked last; read-only.
    Q_PROPERTY(QString SelectedNodeTagName READ SelectedNodeTagName DESIGNABLE false STORED false)
    /// The name of the popup menu item chosen last; read-only.
    Q_PROPERTY(QString SelectedPopupMenuItem READ SelectedPopupMenuItem DESIGNABLE false STORED false)
    /// Background of the nodes, as hosts give colours; takes effect at the next load.
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor)
    /// -1 when the picture box is shown, else 0.
    Q_PROPERTY(int PictureVisible READ PictureVisible WRITE setPictureVisible)
    /// Width of the picture box in pixels.
    Q_PROPERTY(int PictureWidth READ PictureWidth WRITE setPictureWidth)
    /// Height of the information text box in pixels; takes effect at the next resize.
    Q_PROPERTY(int TextHeight READ TextHeight WRITE setTextHeight)
    /// The object file; setting it loads the tree.
    // Last: Qt Designer writes properties in this order, and the load runs with all the others set.
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
public:
    /// A status tree on the application platform (see application_platform.h).
    explicit CiStatusWidget(QWidget* parent = nullptr);
    /// A status tree on the given platform, which must outlive the widget.
    explicit CiStatusWidget(const Platform& platform, QWidget* parent = nullptr);
    ~CiStatusWidget() override;

    /// The control itself, for what the properties do not cover.
    [[nodiscard]] CiStatus& control() const { return *m_Control; }

    ///@{
    /// The object file; setting it loads the tree. See CiStatus::ObjectFile().
    [[nodiscard]] QString ObjectFile() const;
    void setObjectFile(const QString& value);
    ///@}
    ///@{
    /// Comma list of code prefixes; next load. See CiStatus::RootObject().
    [[nodiscard]] QString RootObject() const;
    void setRootObject(const QString& value);
    ///@}
    /// The next object's tag; empty at the end of a round. See CiStatus::ObjectTagName().
    Q_INVOKABLE QString ObjectTagName();
    ///@{
    /// The status of the object under the query cursor. See CiStatus::ObjectStatus().
    [[nodiscard]] int ObjectStatus() const;
    void setObjectStatus(int value);
    ///@}
    ///@{
    /// Milliseconds between GetStatus signals. See CiStatus::UpdateInterval().
    [[nodiscard]] int UpdateInterval() const;
    void setUpdateInterval(int value);
    ///@}
    ///@{
    /// The Behaviour bits. See CiStatus::Behaviour().
    [[nodiscard]] int Behaviour() const;
    void setBehaviour(int value);
    ///@}
    /// The text of the node clicked last.
    [[nodiscard]] QString SelectedNode() const;
    /// The code of the object clicked last. See CiStatus::SelectedNodeCode().
    [[nodiscard]] QString SelectedNodeCode() const;
    /// The tag name of the object clicked last.
    [[nodiscard]] QString SelectedNodeTagName() const;
    /// The name of the popup menu item chosen last.
    [[nodiscard]] QString SelectedPopupMenuItem() const;
    ///@{
    /// Background of the nodes of the next load. See CiStatus::BackColor().
    [[nodiscard]] int BackColor() const;
    void setBackColor(int value);
    ///@}
    ///@{
    /// -1 when the picture box is shown, else 0.
    [[nodiscard]] int PictureVisible() const;
    void setPictureVisible(int value);
    ///@}
    ///@{
    /// Width of the picture box in pixels.
    [[nodiscard]] int PictureWidth() const;
    void setPictureWidth(int value);
    ///@}
    ///@{
    /// Height of the information text box in pixels; next resize.
    [[nodiscard]] int TextHeight() const;
    void setTextHeight(int value);
    ///@}

public slots:
    /// "Name/Caption" adds a popup menu item; the empty text clears the menu.
    void setPopupMenuItem(const QString& nameAndCaption);

signals:
    /// Answer with ObjectTagName() and setObjectStatus() until the tag is empty.
    void GetStatus();
    /// The operator clicked a node; read SelectedNode(), SelectedNodeCode(), SelectedNodeTagName().
    void NodeClick();
    /// The operator double-clicked the tree.
    void NodeDblClick();
    /// The operator chose a popup menu item; read SelectedPopupMenuItem().
    void PopupMenuItemClick();

private:
    std::unique_ptr<CiStatus> m_Control;
};

} // namespace vestrak
