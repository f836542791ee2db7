#include "qt_widgets/qt_tree.h"

#include "widgets/tree_rows.h"
#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_text.h"
#include "qt_widgets/qt_tree_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

namespace vestrak {

namespace {

std::int16_t buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers)
{
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0)
        | (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

QtTree::QtTree(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
    QtTreeView& view, ImageList images)
    : QtWidget(std::move(name), design, visible, host, view)
    , m_View(view)
    , m_Store(images, *this)
    , m_Model(m_Store, view)
{
    m_View.setModel(&m_Model);
    QObject::connect(
        &m_View, &QtTreeView::painted, &context(), [this](const QRect& part) { notePaintedLooks(part); });
    connectView();
}

QtTree::~QtTree()
{
    // The view may outlive the tree for a moment; it must not read a store that is gone.
    if (qtWidget())
        m_View.setModel(nullptr);
}

void QtTree::connectView()
{
    QObject::connect(&m_View, &QtTreeView::mousePressed, &context(),
        [this](const QModelIndex& index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
            const std::int16_t code = buttonCode(button);
            if (code != 0)
                pressed(m_Model.nodeAt(index), code, shiftState(modifiers), at.x() * host().twipsPerPixelX(),
                    at.y() * host().twipsPerPixelY());
        });
    QObject::connect(&m_View, &QtTreeView::rowDoubleClicked, &context(), [this] { DblClick(); });
    QObject::connect(&m_View, &QtTreeView::keyPressed, &context(), [this] { KeyDown(); });
    QObject::connect(&m_View, &QtTreeView::rowActivated, &context(), [this](const QModelIndex& index) {
        if (StoredNode* node = m_Model.nodeAt(index))
            activatedByKeyboard(*node);
    });
    QObject::connect(&m_View, &QtTreeView::mouseMoved, &context(), [this] { MouseMove(); });
    QObject::connect(&m_View, &QtTreeView::menuRequested, &context(), [this] { menuRequestedByKeyboard(); });
    QObject::connect(&m_View, &QtTreeView::keyboardMovedTo, &context(), [this](const QModelIndex& index) {
        if (StoredNode* node = m_Model.nodeAt(index))
            keyboardMovedTo(*node);
    });
    QObject::connect(
        &m_View, &QtTreeView::openRequested, &context(), [this](const QModelIndex& index, bool open) {
            // The view's keys ask of leaves too; only an operator action opens a leaf.
            if (StoredNode* node = m_Model.nodeAt(index); node && node->childCount() > 0)
                expandedByOperator(*node, open);
        });
    QObject::connect(&m_View, &QtTreeView::openBelowRequested, &context(), [this](const QModelIndex& index) {
        if (StoredNode* node = m_Model.nodeAt(index))
            expandedBelowByOperator(*node);
    });
    QObject::connect(&m_View, &QtTreeView::geometriesUpdated, &context(), [this] { showScrollPosition(); });
    QScrollBar* scrollBar = m_View.verticalScrollBar();
    QObject::connect(scrollBar, &QAbstractSlider::actionTriggered, &context(), [this, scrollBar](int) {
        if (m_ShowingScroll)
            return;
        Scroll();
        m_ScrollPosition = clampedScroll(scrollBar->sliderPosition());
    });
}

NodeRef QtTree::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    NodeRef node = m_Store.add(relative, relationship, key, text, image);
    if (node)
        viewFallsBehind();
    return node;
}

NodeRef QtTree::addLent(const NodeRef& relative, NodeRelationship relationship,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    NodeRef node = m_Store.addLent(relative, relationship, texts, reference, image);
    if (node)
        viewFallsBehind();
    return node;
}

bool QtTree::remove(const NodeRef& node)
{
    if (!m_Store.remove(node))
        return false;
    viewFallsBehind();
    return true;
}

void QtTree::clear()
{
    // The view lets go of every row before the store lets go of the nodes behind them.
    m_Model.beginStoreReset();
    m_Store.clear();
    m_Model.endStoreReset();
    m_PaintedLooks.clear();
    m_ViewBehind = false;
    m_ScrollPosition = 0;
}

void QtTree::viewFallsBehind()
{
    if (std::exchange(m_ViewBehind, true))
        return;
    QMetaObject::invokeMethod(
        &context(), [this] { bringViewUpToDate(); }, Qt::QueuedConnection);
}

// The view learns the shown rows anew, then the selected row and the scroll position.
void QtTree::bringViewUpToDate()
{
    if (!m_ViewBehind)
        return;
    m_ViewBehind = false;
    const QSignalBlocker quiet(&m_View);
    m_Model.beginStoreReset();
    m_Model.endStoreReset();
    m_PaintedLooks.clear();
    m_View.layOutRowsLater();
    showSelection();
    showScrollPosition();
}

// Opened or closed by the operator, a branch shows at once.
void QtTree::showRowsNow()
{
    viewFallsBehind();
    bringViewUpToDate();
}

void QtTree::setVisible(bool visible)
{
    bringViewUpToDate();
    QtWidget::setVisible(visible);
}

void QtTree::setBackColor(std::uint32_t color)
{
    m_BackColor = color;
    QPalette palette = m_View.palette();
    palette.setColor(QPalette::Base, toQColor(color, QApplication::palette(&m_View)));
    m_View.setPalette(palette);
}

void QtTree::nodeLooksChanged(const StoredNode&)
{
    askShownLooksCheck();
}

// Shown rows read the phase when they are checked and painted: a tick costs the rows shown.
void QtTree::blinkPhaseChanged()
{
    askShownLooksCheck();
}

void QtTree::askShownLooksCheck()
{
    // A view behind learns every row anew when it catches up.
    if (m_ViewBehind || std::exchange(m_ShownLooksCheckAsked, true))
        return;
    QMetaObject::invokeMethod(
        &context(), [this] { tellShownLooks(); }, Qt::QueuedConnection);
}

// Rows are found by their place: walking to the row below searches Qt's laid-out rows.
std::vector<QtTree::ShownLook> QtTree::shownLooks() const
{
    std::vector<ShownLook> shown;
    if (m_ViewBehind || !m_View.isVisible())
        return shown;
    for (int top = 0; top < m_View.viewport()->height(); top += QtTreeView::RowHeight) {
        const QModelIndex index = m_View.indexAt(QPoint(0, top));
        const StoredNode* node = m_Model.nodeAt(index);
        if (!node)
            break;
        shown.push_back({ node, node->image(), node->backColor(), index.row() });
    }
    return shown;
}

void QtTree::tellShownLooks()
{
    m_ShownLooksCheckAsked = false;
    for (const ShownLook& look : shownLooks()) {
        if (std::find(m_PaintedLooks.begin(), m_PaintedLooks.end(), look) == m_PaintedLooks.end())
            m_Model.looksChanged(look.row);
    }
}

// A row outside the painted part keeps the looks it was last painted with, if it was.
void QtTree::notePaintedLooks(const QRect& part)
{
    std::vector<ShownLook> painted = shownLooks();
    for (std::size_t row = 0; row < painted.size(); ++row) {
        const int top = static_cast<int>(row) * QtTreeView::RowHeight;
        if (part.intersects(QRect(0, top, m_View.viewport()->width(), QtTreeView::RowHeight)))
            continue;
        const auto before = std::find_if(m_PaintedLooks.begin(), m_PaintedLooks.end(),
            [&](const ShownLook& look) { return look.node == painted[row].node; });
        painted[row] = before != m_PaintedLooks.end() ? *before : ShownLook {};
    }
    m_PaintedLooks = std::move(painted);
}

// Opened or closed from code, many branches may change at once: the view learns them together.
void QtTree::nodeExpandedChanged(const StoredNode&)
{
    viewFallsBehind();
}

void QtTree::selectionChanged()
{
    bringViewUpToDate();
    showSelection();
}

void QtTree::showSelection()
{
    const QSignalBlocker quiet(&m_View);
    const StoredNode* selected = m_Store.selected();
    m_View.setCurrentIndex(selected ? m_Model.indexOf(*selected) : QModelIndex());
    if (!selected)
        m_View.clearSelection();
}

std::int32_t QtTree::rowsPerPage() const
{
    return TreeRows::RowsPerPage(height(), host().twipsPerPixelY());
}

std::int32_t QtTree::clampedScroll(std::int32_t position) const
{
    // The first row is in every range, so no rows need counting for it.
    if (position <= 0)
        return 0;
    return TreeRows::ClampedScroll(position, m_Store.shownRowCount(), rowsPerPage());
}

std::int32_t QtTree::scrollPosition() const
{
    // The range shrinks when branches close or the tree gets taller; the position follows it.
    m_ScrollPosition = clampedScroll(m_ScrollPosition);
    return m_ScrollPosition;
}

void QtTree::setScrollPosition(std::int32_t position)
{
    bringViewUpToDate();
    m_ScrollPosition = clampedScroll(position);
    showScrollPosition();
}

void QtTree::showScrollPosition()
{
    m_ShowingScroll = true;
    m_View.verticalScrollBar()->setValue(scrollPosition());
    m_ShowingScroll = false;
}

void QtTree::scrollIntoView(const StoredNode& node)
{
    bringViewUpToDate();
    const std::int32_t row = m_Store.rowOf(node);
    if (row < 0)
        return;
    m_ScrollPosition
        = TreeRows::ScrollShowingRow(row, scrollPosition(), m_Store.shownRowCount(), rowsPerPage());
    showScrollPosition();
}

double QtTree::rowTop(const StoredNode& node) const
{
    return (m_Store.rowOf(node) - scrollPosition()) * QtTreeView::RowHeight * host().twipsPerPixelY();
}

NodeRef QtTree::hitTest(double, double y) const
{
    const StoredNode* node = m_Store.nodeInRow(TreeRows::RowAt(y, host().twipsPerPixelY(), scrollPosition()));
    return node ? NodeRef(m_Store.handleOf(*node)) : nullptr;
}

std::u16string QtTree::placeholderText() const
{
    return fromQString(m_View.placeholderText());
}

void QtTree::setPlaceholderText(const std::u16string& text)
{
    m_View.setPlaceholderText(toQString(text));
}

StoredNode* QtTree::operatorTarget(const std::u16string& key)
{
    if (!visible())
        return nullptr;
    bringViewUpToDate();
    return m_Store.findByKey(key);
}

void QtTree::pressed(StoredNode* node, std::int16_t button, std::int16_t shift, double x, double y)
{
    const NodeRef handle = node ? NodeRef(m_Store.handleOf(*node)) : nullptr;
    MouseDown(button, shift, x, y);
    if (button == 1 && handle && handle->exists()) {
        m_Store.select(node);
        NodeClick(handle);
    }
    Click();
}

// The keyboard's right click: on the selected row, with a menu opening beside the row rather
// than wherever the mouse happens to be.
void QtTree::menuRequestedByKeyboard()
{
    StoredNode* node = m_Store.selected();
    if (!node)
        return;
    scrollIntoView(*node);
    const QRect row = m_View.visualRect(m_Model.indexOf(*node));
    host().setKeyboardMenuPosition(
        m_View.viewport()->mapToGlobal(row.bottomLeft() + QPoint(row.height(), 0)));
    pressed(nullptr, 2, 0, 0, rowTop(*node) + QtTreeView::RowHeight / 2.0 * host().twipsPerPixelY());
    host().setKeyboardMenuPosition(std::nullopt);
}

void QtTree::keyboardMovedTo(StoredNode& node)
{
    const NodeRef handle = m_Store.handleOf(node);
    m_Store.select(&node);
    scrollIntoView(node);
    NodeClick(handle);
}

// Enter opens the row the keyboard is on as a double click on it would: the row is chosen first,
// so that the double click names it even when a rebuild highlighted it from code.
void QtTree::activatedByKeyboard(StoredNode& node)
{
    keyboardMovedTo(node);
    DblClick();
}

// The branch shows opened or closed before the event tells of it, as under Qt's own tree.
void QtTree::expandedByOperator(StoredNode& node, bool expanded)
{
    if (!m_Store.setExpandedByOperator(node, expanded))
        return;
    showRowsNow();
    const NodeRef handle = m_Store.handleOf(node);
    if (expanded)
        Expand(handle);
    else
        Collapse(handle);
}

// "*" opens the branches below the row, leaves left as they are, each told as opened.
void QtTree::expandedBelowByOperator(StoredNode& top)
{
    std::vector<NodeRef> opened;
    std::vector<const StoredNode*> below { &top };
    while (!below.empty()) {
        const StoredNode* node = below.back();
        below.pop_back();
        if (node->childCount() == 0)
            continue;
        StoredNode& branch = *m_Store.nodeNumbered(NodeStore::numberOf(*node));
        if (m_Store.setExpandedByOperator(branch, true))
            opened.push_back(m_Store.handleOf(branch));
        for (const StoredNode* child = node->firstChild(); child; child = child->nextSibling())
            below.push_back(child);
    }
    if (opened.empty())
        return;
    showRowsNow();
    for (const NodeRef& node : opened) {
        if (node->exists())
            Expand(node);
    }
}

bool QtTree::operatorClick(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    pressed(node, 1, 0, 0, rowTop(*node));
    return true;
}

bool QtTree::operatorRightClick(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    pressed(nullptr, 2, 0, 0, rowTop(*node) + QtTreeView::RowHeight / 2.0 * host().twipsPerPixelY());
    return true;
}

bool QtTree::operatorDoubleClick(const std::u16string& key)
{
    if (!operatorClick(key))
        return false;
    DblClick();
    return true;
}

// The branch opens or closes in the view as under the operator's hand, then the event is raised
// as the view's own signal would.
bool QtTree::operatorExpand(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    expandedByOperator(*node, true);
    return true;
}

bool QtTree::operatorCollapse(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    expandedByOperator(*node, false);
    return true;
}

bool QtTree::operatorMouseMove()
{
    if (!visible())
        return false;
    bringViewUpToDate();
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), m_View.viewport()->mapToGlobal(QPointF(0, 0)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_View.viewport(), &move);
    return true;
}

bool QtTree::operatorScroll(std::int32_t position)
{
    if (!visible())
        return false;
    Scroll();
    setScrollPosition(position);
    return true;
}

bool QtTree::operatorKey(TreeKey key)
{
    if (!visible())
        return false;
    bringViewUpToDate();
    const Qt::Key pressed = key == TreeKey::Up ? Qt::Key_Up
        : key == TreeKey::Down                 ? Qt::Key_Down
                                               : Qt::Key_Return;
    QKeyEvent press(QEvent::KeyPress, pressed, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_View, &press);
    return true;
}

} // namespace vestrak
