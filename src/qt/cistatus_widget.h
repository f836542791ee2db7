#pragma once

#include "cistatus/cistatus.h"
#include "qt/control_widget_host.h"

#include <QString>
#include <memory>

namespace vestrak {

// The status tree as a Qt widget. Property and signal names are those of the control; the status
// query is a method, as reading the next tag moves the control's cursor.
class CiStatusWidget final : public ControlWidgetHost {
    Q_OBJECT
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    Q_PROPERTY(int ObjectStatus READ ObjectStatus WRITE setObjectStatus)
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE setUpdateInterval)
    Q_PROPERTY(int Behaviour READ Behaviour WRITE setBehaviour)
    Q_PROPERTY(QString SelectedNode READ SelectedNode)
    Q_PROPERTY(QString SelectedPopupMenuItem READ SelectedPopupMenuItem)
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int PictureVisible READ PictureVisible WRITE setPictureVisible)
    Q_PROPERTY(int PictureWidth READ PictureWidth WRITE setPictureWidth)
    Q_PROPERTY(int TextHeight READ TextHeight WRITE setTextHeight)
public:
    // The platform must outlive the widget.
    explicit CiStatusWidget(const Platform& platform, QWidget* parent = nullptr);
    ~CiStatusWidget() override;

    [[nodiscard]] CiStatus& control() const { return *m_Control; }

    // Loads the tree.
    [[nodiscard]] QString ObjectFile() const;
    void setObjectFile(const QString& value);
    [[nodiscard]] QString RootObject() const;
    void setRootObject(const QString& value);
    // The next object's tag; empty at the end of a round.
    Q_INVOKABLE QString ObjectTagName();
    [[nodiscard]] int ObjectStatus() const;
    void setObjectStatus(int value);
    [[nodiscard]] int UpdateInterval() const;
    void setUpdateInterval(int value);
    [[nodiscard]] int Behaviour() const;
    void setBehaviour(int value);
    [[nodiscard]] QString SelectedNode() const;
    [[nodiscard]] QString SelectedPopupMenuItem() const;
    [[nodiscard]] int BackColor() const;
    void setBackColor(int value);
    [[nodiscard]] int PictureVisible() const;
    void setPictureVisible(int value);
    [[nodiscard]] int PictureWidth() const;
    void setPictureWidth(int value);
    [[nodiscard]] int TextHeight() const;
    void setTextHeight(int value);

public slots:
    // "Name/Caption" adds a popup menu item; the empty text clears the menu.
    void setPopupMenuItem(const QString& nameAndCaption);

signals:
    void GetStatus();
    void NodeClick();
    void NodeDblClick();
    void PopupMenuItemClick();

private:
    std::unique_ptr<CiStatus> m_Control;
};

} // namespace vestrak
