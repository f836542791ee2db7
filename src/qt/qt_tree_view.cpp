#include "qt/qt_tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
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
    : QTreeWidget(parent)
{
    setColumnCount(1);
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

void QtTreeView::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (m_PlaceholderText.isEmpty() || topLevelItemCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_PlaceholderText);
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
    emit pressed(onIndicator ? nullptr : itemAt(position), event->button(), event->modifiers(), position);
    if (onIndicator)
        QTreeWidget::mousePressEvent(event);
}

void QtTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    // Only the branch indicator acts on release: it opens or closes the row.
    if (onBranchIndicator(event->position().toPoint()))
        QTreeWidget::mouseReleaseEvent(event);
}

void QtTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (onBranchIndicator(position)) {
        mousePressEvent(event);
        return;
    }
    emit doubleClicked(itemAt(position));
}

void QtTreeView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QTreeWidget::mouseMoveEvent(event);
}

void QtTreeView::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        emit menuRequested();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit doubleClicked(currentItem());
        return;
    }
    if (event->key() == Qt::Key_Asterisk && currentItem()) {
        expandBranchesBelow(*currentItem());
        return;
    }
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    if (after && after != before)
        emit keyboardMovedTo(after);
}

// Qt's own "*" opens every row below, leaves too, and they would be told as opened branches.
void QtTreeView::expandBranchesBelow(QTreeWidgetItem& top)
{
    std::vector<QTreeWidgetItem*> below { &top };
    while (!below.empty()) {
        QTreeWidgetItem* item = below.back();
        below.pop_back();
        if (item->childCount() == 0)
            continue;
        item->setExpanded(true);
        for (int child = 0; child < item->childCount(); ++child)
            below.push_back(item->child(child));
    }
}

// A hidden view lays its rows out once, when it shows again: until then Qt only notes the
// branches that open or close, instead of laying out and resizing the view after each.
void QtTreeView::hideEvent(QHideEvent* event)
{
    QTreeWidget::hideEvent(event);
    scheduleDelayedItemsLayout();
}

void QtTreeView::updateGeometries()
{
    QTreeWidget::updateGeometries();
    emit geometriesUpdated();
}

} // namespace vestrak
