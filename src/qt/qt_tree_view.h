#pragma once

#include <QTreeView>

namespace vestrak {

// The tree view of the Qt set: rows of 18 pixels, no header, no sorting, scrolling by rows.
// It reports what the operator does with mouse and keyboard as signals and leaves selection,
// clicks and scrolling to its adapter, so that the operator and the operator actions of the
// port take one path.
class QtTreeView final : public QTreeView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    explicit QtTreeView(QWidget* parent);

    // Shown in the empty tree, such as why a filter left it empty.
    [[nodiscard]] QString placeholderText() const { return m_PlaceholderText; }
    void setPlaceholderText(const QString& text);

    // Branches opened or closed from now on are laid out once, at the next paint or read of rows.
    void layOutRowsLater() { scheduleDelayedItemsLayout(); }

signals:
    // A mouse button went down; the index is invalid off the rows and on a row's branch indicator.
    void mousePressed(
        const QModelIndex& index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // A double click on a row, or Enter on the current row: the keyboard's way to open it.
    void rowDoubleClicked();
    // The menu key or Shift+F10: the keyboard's right click on the current row.
    void menuRequested();
    void mouseMoved();
    // The operator moved the current row with the keyboard.
    void keyboardMovedTo(const QModelIndex& index);
    // Qt has recomputed the scroll range.
    void geometriesUpdated();

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

private:
    [[nodiscard]] bool onBranchIndicator(QPoint position) const;
    void expandBranchesBelow(const QModelIndex& top);

    // Rows changed since the rows were last painted; the repaint is asked for once.
    bool m_RepaintAsked = false;
    QString m_PlaceholderText;
};

} // namespace vestrak
