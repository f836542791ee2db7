#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../ports/signal.h"
#include "../qt/control_widget_host.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <concepts>
#include <memory>
#include <string_view>

namespace vestrak {

class CiStatus;

/// The status tree as a Qt widget. Property and signal names are those of the control; the status
/// query is a method, as reading the next tag moves the control's cursor. The properties may be set
/// in any order (see ControlWidgetHost).
class VESTRAK_QTWIDGETS_EXPORT CiStatusWidget final : public ControlWidgetHost {
    Q_OBJECT
    /// Comma list of the code prefixes of the objects shown; takes effect at the next load.
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    /// The status of the object under the query cursor, set in answer to GetStatus.
    // The answer to a status query, not a page setting.
    Q_PROPERTY(int ObjectStatus READ ObjectStatus WRITE setObjectStatus DESIGNABLE false STORED false)
    /// Milliseconds between GetStatus signals.
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE setUpdateInterval)
    /// How statuses rise and show, a set of BehaviourFlag bits.
    Q_PROPERTY(Behaviours Behaviour READ Behaviour WRITE setBehaviour)
    /// The key of the selected node; read-only.
    Q_PROPERTY(
        QString SelectedNode READ SelectedNode NOTIFY SelectedNodeChanged DESIGNABLE false STORED false)
    /// The code of the selected node; read-only.
    Q_PROPERTY(QString SelectedNodeCode READ SelectedNodeCode NOTIFY SelectedNodeCodeChanged
            DESIGNABLE false STORED false)
    /// The tag name of the selected node; read-only.
    Q_PROPERTY(QString SelectedNodeTagName READ SelectedNodeTagName NOTIFY SelectedNodeTagNameChanged
            DESIGNABLE false STORED false)
    /// The items of the popup menu, in order; setting the list replaces the menu.
    Q_PROPERTY(QStringList PopupMenuItem READ PopupMenuItem WRITE setPopupMenuItem)
    /// The popup menu item the operator chose last; read-only.
    Q_PROPERTY(QString SelectedPopupMenuItem READ SelectedPopupMenuItem NOTIFY SelectedPopupMenuItemChanged
            DESIGNABLE false STORED false)
    /// The background colour of the tree; an integer page colour (0x00BBGGRR, or a system colour
    /// 0x800000xx) also works.
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    /// Whether the picture box beside the tree shows.
    Q_PROPERTY(bool PictureVisible READ PictureVisible WRITE setPictureVisible)
    /// The width of the picture box, in pixels.
    Q_PROPERTY(int PictureWidth READ PictureWidth WRITE setPictureWidth)
    /// Height of the information text box in pixels; takes effect at the next resize.
    Q_PROPERTY(int TextHeight READ TextHeight WRITE setTextHeight)
    /// The object file; setting it loads the tree.
    // Last: Qt Designer writes properties in this order, and the load runs with all the others set.
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
public:
    /// The bits of Behaviour (docs/reference.md has what each does); other bits have no effect.
    enum BehaviourFlag {
        BehaviourInheritStatus = 0x1, ///< A branch shows the worst status below it when worse than its own.
        BehaviourMuteInherited
        = 0x4, ///< An inherited red shows as amber and an inherited blink does not blink.
        BehaviourUnknownAboveGood = 0x8, ///< Inheritance ranks unknown above green and below amber.
    };
    Q_DECLARE_FLAGS(Behaviours, BehaviourFlag)
    Q_FLAG(Behaviours)

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
    /// The Behaviour bits. See CiStatus::Behaviour(). The integer setter takes the bits as a number,
    /// unknown bits included.
    [[nodiscard]] Behaviours Behaviour() const;
    void setBehaviour(Behaviours value);
    template<std::integral Bits> void setBehaviour(Bits value)
    {
        setBehaviour(Behaviours::fromInt(static_cast<int>(value)));
    }
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
    /// Background of the nodes of the next load. See CiStatus::BackColor(). Reads a system colour
    /// as the palette draws it; the int setter takes 0x00BBGGRR or a system colour (0x800000xx).
    [[nodiscard]] QColor BackColor() const;
    void setBackColor(const QColor& value);
    void setBackColor(Qt::GlobalColor value) { setBackColor(QColor(value)); }
    void setBackColor(int hostColor);
    ///@}
    ///@{
    /// Whether the picture box is shown (at once, narrowing the tree).
    [[nodiscard]] bool PictureVisible() const;
    void setPictureVisible(bool visible);
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

    ///@{
    /// The popup menu's items, each "Name/Caption", in the order added. Setting the list replaces
    /// the menu.
    [[nodiscard]] QStringList PopupMenuItem() const { return m_PopupMenuItems; }
    void setPopupMenuItem(const QStringList& namesAndCaptions);
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
    /// SelectedNode() reads another value (a node click).
    void SelectedNodeChanged();
    /// SelectedNodeCode() reads another value.
    void SelectedNodeCodeChanged();
    /// SelectedNodeTagName() reads another value.
    void SelectedNodeTagNameChanged();
    /// SelectedPopupMenuItem() reads another value (a menu choice).
    void SelectedPopupMenuItemChanged();

private:
    template<typename Value> void apply(std::u16string_view name, Value value);

    std::unique_ptr<CiStatus> m_Control;
    QStringList m_PopupMenuItems;
    Connections m_Connections;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CiStatusWidget::Behaviours)

} // namespace vestrak
