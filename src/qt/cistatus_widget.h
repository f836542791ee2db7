#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../qt/control_widget_host.h"

#include <QString>
#include <memory>

namespace vestrak {

class CiStatus;

// The status tree as a Qt widget. Property and signal names are those of the control; the status
// query is a method, as reading the next tag moves the control's cursor.
class VESTRAK_QTWIDGETS_EXPORT CiStatusWidget final : public ControlWidgetHost {
    Q_OBJECT
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    // The answer to a status query, not a page setting.
    Q_PROPERTY(int ObjectStatus READ ObjectStatus WRITE setObjectStatus DESIGNABLE false STORED false)
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE setUpdateInterval)
    Q_PROPERTY(int Behaviour READ Behaviour WRITE setBehaviour)
    Q_PROPERTY(QString SelectedNode READ SelectedNode DESIGNABLE false STORED false)
    Q_PROPERTY(QString SelectedPopupMenuItem READ SelectedPopupMenuItem DESIGNABLE false STORED false)
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int PictureVisible READ PictureVisible WRITE setPictureVisible)
    Q_PROPERTY(int PictureWidth READ PictureWidth WRITE setPictureWidth)
    Q_PROPERTY(int TextHeight READ TextHeight WRITE setTextHeight)
    // Last: Qt Designer writes properties in this order, and the load runs with all the others set.
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
public:
    // On the application platform (see application_platform.h).
    explicit CiStatusWidget(QWidget* parent = nullptr);
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
