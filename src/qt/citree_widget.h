#pragma once

#include "../export.h"
#include "../ports/platform.h"
#include "../ports/signal.h"
#include "../qt/control_widget_host.h"

#include <QColor>
#include <QString>
#include <concepts>
#include <memory>
#include <string_view>

namespace vestrak {

class CiTree;

/// The navigation tree as a Qt widget: place it like any widget, set its properties, connect to
/// its signals. Property and signal names are those of the control; the properties may be set in
/// any order (see ControlWidgetHost).
class VESTRAK_QTWIDGETS_EXPORT CiTreeWidget final : public ControlWidgetHost {
    Q_OBJECT
    /// The object file the tree is built from; takes effect at the next build.
    Q_PROPERTY(QString ObjectFile READ ObjectFile WRITE setObjectFile)
    /// The section of the object file a build reads.
    Q_PROPERTY(QString ObjectFileSection READ ObjectFileSection WRITE setObjectFileSection)
    /// Comma list of the code prefixes of the objects shown; takes effect at the next build.
    Q_PROPERTY(QString RootObject READ RootObject WRITE setRootObject)
    /// The background colour of the tree and the list; an integer page colour (0x00BBGGRR, or a
    /// system colour 0x800000xx) also works.
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    /// The key of the selected object; setting it selects that object.
    Q_PROPERTY(
        QString SelectedObject READ SelectedObject WRITE setSelectedObject NOTIFY SelectedObjectChanged)
    /// The extra information of the selected object, as the object file gives it.
    Q_PROPERTY(QString SelectedObjectExtraInfo READ SelectedObjectExtraInfo WRITE setSelectedObjectExtraInfo
            NOTIFY SelectedObjectExtraInfoChanged)
    /// The extra key of the selected object; read-only.
    Q_PROPERTY(QString SelectedObjectExtraKey READ SelectedObjectExtraKey NOTIFY SelectedObjectExtraKeyChanged
            DESIGNABLE false STORED false)
    /// Idle seconds after which an expanded, collapsible tree collapses; 0 never.
    Q_PROPERTY(int CollapseTime READ CollapseTime WRITE setCollapseTime)
    /// The width the expand operation gives the control, in pixels; below 1, its size at the first Style.
    Q_PROPERTY(int ExpandedWidth READ ExpandedWidth WRITE setExpandedWidth)
    /// The height the expand operation gives the control, in pixels; as ExpandedWidth.
    Q_PROPERTY(int ExpandedHeight READ ExpandedHeight WRITE setExpandedHeight)
    /// Whether the control shows; set by the page at run time, not in Designer.
    Q_PROPERTY(bool Visible READ ControlVisible WRITE setControlVisible DESIGNABLE false STORED false)
    // Last: Qt Designer writes properties in this order, and Style builds with all the others set.
    /// The look and behaviour of the tree, a set of StyleFlag bits; setting it builds the tree.
    Q_PROPERTY(Styles Style READ Style WRITE setStyle)
public:
    /// The bits of Style (docs/reference.md has what each does); other bits have no effect.
    enum StyleFlag {
        StyleHomeButton = 0x1, ///< The Home button, top left.
        StyleUpDownButtons = 0x2, ///< Up and Down buttons hide and show the tree or list.
        StyleObjectList = 0x4, ///< A flat list; wins over StyleObjectTree.
        StyleObjectTree = 0x8, ///< A tree.
        StyleShowObjects = 0x10, ///< The list or tree is shown at the end of the build.
        StyleExpandAll = 0x40, ///< Every node is opened at the end of the build.
        StyleStartCollapsed = 0x100, ///< Collapsible; the build ends collapsed.
        StyleStartExpanded = 0x200, ///< Collapsible; the build ends expanded.
        StyleKeepOpenNodes = 0x400, ///< Open branches and the last clicked node are kept per user.
        StyleKeepScrollPosition = 0x1000, ///< The scroll position is kept per user.
        StyleDiagnosticLog = 0x10000, ///< Timings go to the diagnostic log.
    };
    Q_DECLARE_FLAGS(Styles, StyleFlag)
    Q_FLAG(Styles)

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
    /// The Style bits; setting them builds the tree (or list) from the object file. The int
    /// setter takes the bits as a number, unknown bits included.
    [[nodiscard]] Styles Style() const;
    void setStyle(Styles value);
    template<std::integral Bits> void setStyle(Bits value)
    {
        setStyle(Styles::fromInt(static_cast<int>(value)));
    }
    ///@}
    ///@{
    /// Back colour: the list at once, the tree at the next build. Reads a system colour as the
    /// palette draws it; the int setter takes 0x00BBGGRR or a system colour (0x800000xx), as
    /// CiTree::setBackColor() does.
    [[nodiscard]] QColor BackColor() const;
    void setBackColor(const QColor& value);
    void setBackColor(Qt::GlobalColor value) { setBackColor(QColor(value)); }
    void setBackColor(int hostColor);
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
    /// Width in pixels that expanding gives the control, as last set; 0 before.
    [[nodiscard]] int ExpandedWidth() const { return m_ExpandedWidth; }
    /// Height in pixels that expanding gives the control, as last set; 0 before.
    [[nodiscard]] int ExpandedHeight() const { return m_ExpandedHeight; }
    /// The control's Visible property as last set; true before.
    [[nodiscard]] bool ControlVisible() const { return m_ControlVisible; }

public slots:
    /// Width in pixels that expanding gives the control. See CiTree::setExpandedWidth().
    void setExpandedWidth(int pixels);
    /// Height in pixels that expanding gives the control.
    void setExpandedHeight(int pixels);
    /// The control's Visible property: shows or hides the tree or list at once.
    void setControlVisible(bool visible);

signals:
    /// The operator clicked the Home button.
    void Click();
    /// The operator selected a node or item; read SelectedObject() and its companions.
    void NodeClick();
    /// The operator double-clicked the tree or the list.
    void NodeDoubleClick();
    /// SelectedObject() reads another value (a node click, or set by the page).
    void SelectedObjectChanged();
    /// SelectedObjectExtraInfo() reads another value.
    void SelectedObjectExtraInfoChanged();
    /// SelectedObjectExtraKey() reads another value (a node click or a build).
    void SelectedObjectExtraKeyChanged();

private:
    template<typename Value> void apply(std::u16string_view name, Value value);

    std::unique_ptr<CiTree> m_Control;
    int m_ExpandedWidth = 0;
    int m_ExpandedHeight = 0;
    bool m_ControlVisible = true;
    Connections m_Connections;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CiTreeWidget::Styles)

} // namespace vestrak
