#pragma once

#include <QTreeWidget>

namespace vestrak {

// The tree widget of the Qt set: rows of 18 pixels, no header, no sorting, scrolling by rows.
// It reports what the operator does with mouse and keyboard as signals and leaves selection,
// clicks and scrolling to its adapter, so that the operator and the operator actions of the
// port take one path.
class QtTreeView final : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    explicit QtTreeView(QWidget* parent);

    // Shown in the empty tree, such as why a filter left it empty.
    [[nodiscard]] QString placeholderText() const { return m_PlaceholderText; }
    void setPlaceholderText(const QString& text);

signals:
    // A mouse button went down; item is null off the rows and on a row's branch indicator.
    void pressed(
        QTreeWidgetItem* item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // A double click on a row, or Enter on the current row: the keyboard's way to open it.
    void doubleClicked(QTreeWidgetItem* item);
    // The menu key or Shift+F10: the keyboard's right click on the current row.
    void menuRequested();
    void mouseMoved();
    // The operator moved the current row with the keyboard.
    void keyboardMovedTo(QTreeWidgetItem* item);
    // Qt has recomputed the scroll range.
    void geometriesUpdated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void hideEvent(QHideEvent* event) override;

private:
    [[nodiscard]] bool onBranchIndicator(QPoint position) const;
    void expandBranchesBelow(QTreeWidgetItem& item);

    QString m_PlaceholderText;
};

} // namespace vestrak
