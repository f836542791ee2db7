#pragma once

#include "qt_widgets/node_store_model.h"

#include <QTreeView>
#include <optional>

namespace vestrak {

// The tree view of the Qt set: rows of 18 pixels, no header, no sorting, scrolling by rows.
// It reports what the operator does with mouse and keyboard as signals and leaves selection,
// clicks, scrolling and opening branches to its adapter, so that the operator and the operator
// actions of the port take one path. Its model gives the shown rows flat; the view indents each
// row by its level and draws the branch columns itself.
class QtTreeView final : public QTreeView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;
    // The frame drawn round the rows while the view has the keyboard focus.
    static constexpr int FocusFrameWidth = 2;

    explicit QtTreeView(QWidget* parent);

    // Shown in the empty tree, such as why a filter left it empty.
    [[nodiscard]] QString placeholderText() const { return m_PlaceholderText; }
    void setPlaceholderText(const QString& text);

    // The rows are laid out once, at the next paint or read of rows.
    void layOutRowsLater() { scheduleDelayedItemsLayout(); }
    // Where a row's text begins: after the branch columns of its level and those above.
    [[nodiscard]] int textIndent(const QModelIndex& index) const;
    // The row's icon and text, right of its branch columns.
    [[nodiscard]] QRect visualRect(const QModelIndex& index) const override;
    // Whether the paint under way reaches any of the item's rect beyond its icon; true outside a
    // paint.
    [[nodiscard]] bool paintReachesBeyond(const QRect& item, const QRect& icon) const;

signals:
    // A mouse button went down; the index is invalid off the rows and on a row's branch indicator,
    // for either button: the rest of a row, its indentation too, is the row.
    void mousePressed(
        const QModelIndex& index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // A double click on a row.
    void rowDoubleClicked();
    // Enter on the current row: the keyboard's way to open it.
    void rowActivated(const QModelIndex& index);
    // A key went down, before the view acts on it.
    void keyPressed();
    // The menu key or Shift+F10: the keyboard's right click on the current row.
    void menuRequested();
    void mouseMoved();
    // The operator moved the current row with the keyboard.
    void keyboardMovedTo(const QModelIndex& index);
    // The operator opened or closed the row's branch: its indicator, or the keyboard.
    void openRequested(const QModelIndex& index, bool open);
    // "*": every branch below the row, the row's own included.
    void openBelowRequested(const QModelIndex& index);
    // Qt has recomputed the scroll range.
    void geometriesUpdated();
    // Rows were painted, those in that part of the viewport.
    void painted(const QRegion& part);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;
    void dataChanged(
        const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void reset() override;
    // Qt's tree would tell screen readers of the row by its place among the flat rows; the
    // accessible tree nests them.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    [[nodiscard]] const NodeStoreModel* rows() const;
    [[nodiscard]] RowBranches branchesOf(const QModelIndex& index) const;
    // A press there opens or closes the row's branch.
    [[nodiscard]] bool onBranchIndicator(QPoint position) const;
    void toggleBranchAt(QPoint position);
    // Left, Right, +, - and *: true when the key was one of them.
    bool branchKeyPressed(const QKeyEvent& event);
    [[nodiscard]] QRect iconRect(const QModelIndex& index) const;

    QString m_PlaceholderText;
    // The part of the viewport being painted, while it is.
    std::optional<QRegion> m_PaintingPart;
};

} // namespace vestrak
