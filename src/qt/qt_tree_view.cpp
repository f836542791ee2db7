#include "qt/qt_tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <utility>
#include <vector>

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
    // The selection of a tree without the focus is drawn muted, so the operator sees which tree
    // the keyboard acts on.
    QPalette colours = palette();
    colours.setColor(
        QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Midlight));
    colours.setColor(
        QPalette::Inactive, QPalette::HighlightedText, colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
}

void QtTreeView::setPlaceholderText(const QString& text)
{
    if (m_PlaceholderText == text)
        return;
    m_PlaceholderText = text;
    viewport()->update();
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
    const bool menuKey = event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        emit menuRequested();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit rowDoubleClicked();
        return;
    }
    if (event->key() == Qt::Key_Asterisk && currentIndex().isValid()) {
        expandBranchesBelow(currentIndex());
        return;
    }
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after != before)
        emit keyboardMovedTo(after);
}

// Qt's own "*" opens every row below, leaves too, and they would be told as opened branches.
void QtTreeView::expandBranchesBelow(const QModelIndex& top)
{
    std::vector<QModelIndex> below { top };
    while (!below.empty()) {
        const QModelIndex index = below.back();
        below.pop_back();
        const int children = model()->rowCount(index);
        if (children == 0)
            continue;
        expand(index);
        for (int child = 0; child < children; ++child)
            below.push_back(model()->index(child, 0, index));
    }
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
    if (m_PlaceholderText.isEmpty() || model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_PlaceholderText);
}

void QtTreeView::updateGeometries()
{
    QTreeView::updateGeometries();
    emit geometriesUpdated();
}

} // namespace vestrak
