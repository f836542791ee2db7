#include "qt_widgets/qt_tree_view.h"

#include "qt_widgets/tree_accessible.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace vestrak {

namespace {

// Rows of one height, their text after the branch columns of their level: Qt, given the rows
// flat, leaves room for one column only.
class TreeRowDelegate final : public QStyledItemDelegate {
public:
    explicit TreeRowDelegate(QtTreeView& view)
        : QStyledItemDelegate(&view)
        , m_View(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), QtTreeView::RowHeight };
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem row(option);
        row.rect.setLeft(option.rect.left() + m_View.textIndent(index) - m_View.indentation());
        initStyleOption(&row, index);
        // Laying out a text costs most of a row's paint; where only the icon is painted again,
        // as at a flash tick, the text is left as it stands.
        if (!m_View.paintReachesBeyond(row.rect, IconRect(row, m_View)))
            LeaveOutText(row);
        m_View.style()->drawControl(QStyle::CE_ItemViewItem, &row, painter, &m_View);
    }

    // Where the row's icon is drawn, its rect being that of the row right of its branch columns.
    QRect iconRect(QStyleOptionViewItem row, const QModelIndex& index) const
    {
        initStyleOption(&row, index);
        return IconRect(row, m_View);
    }

private:
    static void LeaveOutText(QStyleOptionViewItem& row)
    {
        row.text.clear();
        row.features &= ~QStyleOptionViewItem::HasDisplay;
        row.state &= ~QStyle::State_HasFocus;
    }

    // The icon sits left of the text, so where it goes does not depend on the text, which is then
    // not laid out for nothing.
    static QRect IconRect(QStyleOptionViewItem row, const QWidget& view)
    {
        LeaveOutText(row);
        return view.style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &row, &view);
    }

    const QtTreeView& m_View;
};

} // namespace

QtTreeView::QtTreeView(QWidget* parent)
    : QTreeView(parent)
{
    installTreeAccessibility();
    setHeaderHidden(true);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setItemDelegate(new TreeRowDelegate(*this));
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

const NodeStoreModel* QtTreeView::rows() const
{
    return qobject_cast<const NodeStoreModel*>(model());
}

RowBranches QtTreeView::branchesOf(const QModelIndex& index) const
{
    return rows() ? rows()->branchesOf(index) : RowBranches {};
}

int QtTreeView::textIndent(const QModelIndex& index) const
{
    return ((rows() ? rows()->levelOf(index) : 0) + 1) * indentation();
}

QRect QtTreeView::visualRect(const QModelIndex& index) const
{
    QRect rect = QTreeView::visualRect(index);
    if (rect.isValid())
        rect.setLeft(columnViewportPosition(0) + textIndent(index));
    return rect;
}

bool QtTreeView::onBranchIndicator(QPoint position) const
{
    const QModelIndex index = indexAt(position);
    const RowBranches branches = branchesOf(index);
    const int left = columnViewportPosition(0) + branches.level * indentation();
    return index.isValid() && branches.hasChildren && position.x() >= left
        && position.x() < left + indentation();
}

void QtTreeView::toggleBranchAt(QPoint position)
{
    if (onBranchIndicator(position)) {
        const QModelIndex index = indexAt(position);
        emit openRequested(index, !branchesOf(index).open);
    }
}

// The style says whether a branch opens as the button goes down or as it comes up.
void QtTreeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const bool onIndicator = onBranchIndicator(position);
    emit mousePressed(
        onIndicator ? QModelIndex() : indexAt(position), event->button(), event->modifiers(), position);
    if (onIndicator
        && style()->styleHint(QStyle::SH_ListViewExpand_SelectMouseType, nullptr, this)
            == QEvent::MouseButtonPress)
        toggleBranchAt(position);
}

void QtTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (onBranchIndicator(position)
        && style()->styleHint(QStyle::SH_ListViewExpand_SelectMouseType, nullptr, this)
            == QEvent::MouseButtonRelease)
        toggleBranchAt(position);
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
    emit keyPressed();
    const bool menuKey = event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        emit menuRequested();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit rowActivated(currentIndex());
        return;
    }
    if (branchKeyPressed(*event))
        return;
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after != before)
        emit keyboardMovedTo(after);
}

// The keys of Qt's own tree: Right opens a closed branch, Left closes an open one, and where the
// style has the arrows walk the tree, Right goes on to the first child and Left back to the parent.
bool QtTreeView::branchKeyPressed(const QKeyEvent& event)
{
    // Whatever the modifiers: "*" and "+" come with Shift on most keyboards.
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return false;
    const RowBranches branches = branchesOf(current);
    const bool walksTree
        = style()->styleHint(QStyle::SH_ItemView_ArrowKeysNavigateIntoChildren, nullptr, this);
    switch (event.key()) {
    case Qt::Key_Plus:
        emit openRequested(current, true);
        return true;
    case Qt::Key_Minus:
        emit openRequested(current, false);
        return true;
    case Qt::Key_Asterisk:
        emit openBelowRequested(current);
        return true;
    case Qt::Key_Right:
        if (branches.hasChildren && !branches.open)
            emit openRequested(current, true);
        else if (walksTree && branches.hasChildren)
            emit keyboardMovedTo(current.siblingAtRow(current.row() + 1));
        return true;
    case Qt::Key_Left:
        if (branches.hasChildren && branches.open) {
            emit openRequested(current, false);
        } else if (walksTree) {
            const StoredNode* node = rows() ? rows()->nodeAt(current) : nullptr;
            if (node && node->parentNode())
                emit keyboardMovedTo(rows()->indexOf(*node->parentNode()));
        }
        return true;
    default:
        return false;
    }
}

// A hidden view lays its rows out once, when it shows again, instead of after each reset of its
// rows while it is hidden.
void QtTreeView::hideEvent(QHideEvent* event)
{
    QTreeView::hideEvent(event);
    scheduleDelayedItemsLayout();
}

void QtTreeView::reset()
{
    QTreeView::reset();
    treeRowsTakenAnew(*this);
}

void QtTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    treeCurrentRowMoved(*this, current);
}

void QtTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
}

// Rows change only their icon or colour, never their size. Only the changed rows shown are
// painted again (at a flash tick only the icons of the blinking ones), each found from its place
// instead of Qt looking for it among the laid-out rows, which takes a search through them per
// row: rows are of one height and the view scrolls by rows, so the scroll value is the top row.
void QtTreeView::dataChanged(
    const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    const bool iconAlone = roles == QList<int> { Qt::DecorationRole };
    const int topShown = verticalScrollBar()->value();
    const int first = std::max(topLeft.row(), topShown);
    const int last = std::min(bottomRight.row(), topShown + viewport()->height() / RowHeight);
    for (int row = first; row <= last; ++row) {
        if (iconAlone)
            viewport()->update(iconRect(model()->index(row, 0)));
        else
            viewport()->update(0, (row - topShown) * RowHeight, viewport()->width(), RowHeight);
    }
}

QRect QtTreeView::iconRect(const QModelIndex& index) const
{
    QStyleOptionViewItem row;
    initViewItemOption(&row);
    row.rect = visualRect(index);
    return static_cast<const TreeRowDelegate*>(itemDelegate())->iconRect(row, index);
}

bool QtTreeView::paintReachesBeyond(const QRect& item, const QRect& icon) const
{
    if (!m_PaintingPart)
        return true;
    return !(m_PaintingPart->intersected(item) - icon).isEmpty();
}

// The frame shows which tree the keyboard acts on, even while its selected row is scrolled away.
void QtTreeView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void QtTreeView::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void QtTreeView::paintEvent(QPaintEvent* event)
{
    m_PaintingPart = event->region();
    QTreeView::paintEvent(event);
    m_PaintingPart.reset();
    emit painted(event->region());
    QPainter painter(viewport());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), FocusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
    }
    if (m_PlaceholderText.isEmpty() || model()->rowCount() > 0)
        return;
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_PlaceholderText);
}

// The columns of the row's level and of each level above, as Qt draws those of its own tree; only
// those within the viewport, since a row may lie thousands of levels deep.
void QtTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    const RowBranches branches = branchesOf(index);
    const int indent = indentation();
    if (indent <= 0 || branches.siblingsFollow.empty())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStyle::State shared = QStyle::State_None;
    if (isEnabled())
        shared |= QStyle::State_Enabled;
    if (hasFocus())
        shared |= QStyle::State_Active;
    if (selectionModel() && selectionModel()->isSelected(index))
        shared |= QStyle::State_Selected;
    if (option.showDecorationSelected && (shared & QStyle::State_Selected)) {
        option.rect = QRect(rect.left() + indent, rect.top(), branches.level * indent, rect.height());
        option.state = shared;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, painter, this);
    }
    const int firstShown = std::max(0, -rect.left() / indent);
    const int lastShown = std::min(branches.level, (viewport()->width() - rect.left()) / indent);
    for (int level = firstShown; level <= lastShown; ++level) {
        option.rect = QRect(rect.left() + level * indent, rect.top(), indent, rect.height());
        option.state = shared;
        if (branches.siblingsFollow[static_cast<std::size_t>(branches.level - level)])
            option.state |= QStyle::State_Sibling;
        if (level == branches.level) {
            option.state |= QStyle::State_Item;
            if (branches.hasChildren)
                option.state |= QStyle::State_Children;
            if (branches.open)
                option.state |= QStyle::State_Open;
        }
        style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter, this);
    }
}

void QtTreeView::updateGeometries()
{
    QTreeView::updateGeometries();
    emit geometriesUpdated();
}

} // namespace vestrak
