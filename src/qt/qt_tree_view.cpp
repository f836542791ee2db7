#include "qt/qt_tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <utility>

namespace vestrak {

namespace {

class FixedRowHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), QtTreeView::RowHeight };
    }
};

} // namespace

QtTreeView::QtTreeView(QWidget* parent)
    : QTreeView(parent)
{
    setHeaderHidden(true);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setItemDelegate(new FixedRowHeightDelegate(this));
    setIconSize(QSize(16, 16));
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Rows per page come from the widget's height alone, as in every widget set.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    // The adapter scrolls; Qt scrolling to the current row by itself would move the position behind
    // the control's back.
    setAutoScroll(false);
    setMouseTracking(true);
    setTextElideMode(Qt::ElideRight);
}

bool QtTreeView::onBranchIndicator(QPoint position) const
{
    const QModelIndex index = indexAt(position);
    return index.isValid() && position.x() < visualRect(index).left();
}

void QtTreeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const bool onIndicator = onBranchIndicator(position);
    emit mousePressed(
        onIndicator ? QModelIndex() : indexAt(position), event->button(), event->modifiers(), position);
    if (onIndicator)
        QTreeView::mousePressEvent(event);
}

void QtTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    // Only the branch indicator acts on release: it opens or closes the row.
    if (onBranchIndicator(event->position().toPoint()))
        QTreeView::mouseReleaseEvent(event);
}

void QtTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (onBranchIndicator(position)) {
        mousePressEvent(event);
        return;
    }
    emit rowDoubleClicked();
}

void QtTreeView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QTreeView::mouseMoveEvent(event);
}

void QtTreeView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after != before)
        emit keyboardMovedTo(after);
}

// A hidden view lays its rows out once, when it shows again: until then Qt only notes the
// branches that open or close, instead of laying out and resizing the view after each.
void QtTreeView::hideEvent(QHideEvent* event)
{
    QTreeView::hideEvent(event);
    scheduleDelayedItemsLayout();
}

// Rows change only their icon or colour, never their size. Many change at once (a flash tick):
// the rows shown are painted once, instead of Qt looking for each changed row among the laid-out
// ones, which takes a search through them per row.
void QtTreeView::dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&)
{
    if (!std::exchange(m_RepaintAsked, true))
        viewport()->update();
}

void QtTreeView::paintEvent(QPaintEvent* event)
{
    m_RepaintAsked = false;
    QTreeView::paintEvent(event);
}

void QtTreeView::updateGeometries()
{
    QTreeView::updateGeometries();
    emit geometriesUpdated();
}

} // namespace vestrak
