#include "qt_widgets/qt_tree.h"

#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_text.h"
#include "qt_widgets/qt_tree_view.h"
#include "widgets/tree_rows.h"

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
    : QtWidget(std::move(name), design, visible, host, view, images)
    , m_View(view)
    , m_Model(store(), view)
{
    m_View.setModel(&m_Model);
    QObject::connect(
        &m_View, &QtTreeView::painted, &context(), [this](const QRegion& part) { notePaintedLooks(part); });
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
                branchSetByOperator(*node, open ? Branch::Open : Branch::Close);
        });
    QObject::connect(&m_View, &QtTreeView::openBelowRequested, &context(), [this](const QModelIndex& index) {
        if (const StoredNode* node = m_Model.nodeAt(index))
            branchesBelowOpenedByOperator(*node);
    });
    QObject::connect(&m_View, &QtTreeView::geometriesUpdated, &context(), [this] { showScrollPosition(); });
    QScrollBar* scrollBar = m_View.verticalScrollBar();
    QObject::connect(scrollBar, &QAbstractSlider::actionTriggered, &context(), [this, scrollBar](int) {
        if (!m_ShowingScroll)
            scrolledByOperator(scrollBar->sliderPosition());
    });
}

void QtTree::clear()
{
    // The view lets go of every row before the store lets go of the nodes behind them.
    m_Model.beginStoreReset();
    TreeState::clear();
    m_Model.endStoreReset();
    m_PaintedLooks.clear();
    m_ViewBehind = false;
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
void QtTree::rowsChangedByOperator()
{
    viewFallsBehind();
    bringViewUpToDate();
}

void QtTree::setVisible(bool visible)
{
    bringViewUpToDate();
    QtWidget::setVisible(visible);
}

void QtTree::backColorChanged()
{
    QPalette palette = m_View.palette();
    palette.setColor(QPalette::Base, toQColor(backColor(), QApplication::palette(&m_View)));
    m_View.setPalette(palette);
}

void QtTree::nodeLooksChanged(const StoredNode&)
{
    askShownLooksCheck();
}

// Shown rows read the phase when they are checked and painted: a tick costs the rows shown. The
// phase turns alone, so the rows are checked at once: their repaint then comes at the next turn
// of the event loop instead of the one after.
void QtTree::blinkPhaseChanged()
{
    if (!m_ViewBehind)
        tellShownLooks();
}

void QtTree::askShownLooksCheck()
{
    // A view behind learns every row anew when it catches up.
    if (m_ViewBehind || std::exchange(m_ShownLooksCheckAsked, true))
        return;
    QMetaObject::invokeMethod(
        &context(),
        [this] {
            m_ShownLooksCheckAsked = false;
            tellShownLooks();
        },
        Qt::QueuedConnection);
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

// A row whose icon alone changed has only its icon painted again: a flash tick costs the icons
// that blink, not their rows.
void QtTree::tellShownLooks()
{
    for (const ShownLook& look : shownLooks()) {
        const auto painted = std::find_if(m_PaintedLooks.begin(), m_PaintedLooks.end(),
            [&look](const ShownLook& each) { return each.node == look.node; });
        const bool wasPainted = painted != m_PaintedLooks.end();
        if (wasPainted && *painted == look) {
            continue;
        }
        const bool iconAlone = wasPainted && painted->backColor == look.backColor
            && m_Model.iconsTakeSameRoom(painted->image, look.image, m_View.iconSize());
        if (iconAlone) {
            m_Model.iconChanged(look.row);
        } else {
            m_Model.looksChanged(look.row);
        }
    }
}

// A row outside the painted part keeps the looks it was last painted with, if it was.
void QtTree::notePaintedLooks(const QRegion& part)
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
    const StoredNode* selected = store().selected();
    m_View.setCurrentIndex(selected ? m_Model.indexOf(*selected) : QModelIndex());
    if (!selected)
        m_View.clearSelection();
}

void QtTree::showScrollPosition()
{
    m_ShowingScroll = true;
    m_View.verticalScrollBar()->setValue(scrollPosition());
    m_ShowingScroll = false;
}

void QtTree::placeholderTextChanged()
{
    m_View.setPlaceholderText(toQString(placeholderText()));
}

// The keyboard's right click: on the selected row, with a menu opening beside the row rather
// than wherever the mouse happens to be.
void QtTree::menuRequestedByKeyboard()
{
    const StoredNode* node = store().selected();
    if (!node)
        return;
    scrollIntoView(*node);
    const QRect row = m_View.visualRect(m_Model.indexOf(*node));
    host().setKeyboardMenuPosition(
        m_View.viewport()->mapToGlobal(row.bottomLeft() + QPoint(row.height(), 0)));
    rightPressedOn(*node);
    host().setKeyboardMenuPosition(std::nullopt);
}

void QtTree::playMouseMove()
{
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), m_View.viewport()->mapToGlobal(QPointF(0, 0)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_View.viewport(), &move);
}

void QtTree::playKey(TreeKey key)
{
    const Qt::Key pressed = key == TreeKey::Up ? Qt::Key_Up
        : key == TreeKey::Down                 ? Qt::Key_Down
                                               : Qt::Key_Return;
    QKeyEvent press(QEvent::KeyPress, pressed, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_View, &press);
}

} // namespace vestrak
