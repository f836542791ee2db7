#include "headless/headless_tree.h"

#include "ports/tree_rows.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vestrak {

HeadlessNode::HeadlessNode(HeadlessTree& tree, HeadlessNode* parent, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
    : m_Tree(&tree)
    , m_Parent(parent)
    , m_Key(key)
    , m_Text(text)
    , m_Image(image)
{
}

std::u16string HeadlessNode::key() const
{
    return exists() ? std::u16string(m_Key) : std::u16string();
}
std::u16string HeadlessNode::text() const
{
    return exists() ? std::u16string(m_Text) : std::u16string();
}

std::u16string HeadlessNode::fullPath() const
{
    if (!exists())
        return {};
    std::vector<const HeadlessNode*> chain;
    std::size_t length = 0;
    for (const HeadlessNode* node = this; node; node = node->m_Parent) {
        chain.push_back(node);
        length += node->m_Text.size() + 1;
    }
    std::u16string path;
    path.reserve(length);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty() || it != chain.rbegin())
            path += u'\\';
        path += (*it)->m_Text;
    }
    return path;
}

NodeRef HeadlessNode::parent() const
{
    if (!exists() || !m_Parent)
        return nullptr;
    return m_Tree->handleOf(*m_Parent);
}

std::int32_t HeadlessNode::children() const
{
    return exists() ? m_ChildCount : 0;
}

std::int32_t HeadlessNode::index() const
{
    return exists() ? m_Index : 0;
}

std::int32_t HeadlessNode::image() const
{
    return exists() ? m_Image : 0;
}

bool HeadlessNode::setImage(std::int32_t image)
{
    if (!exists() || !holdsImage(m_Tree->imageList(), image))
        return false;
    m_Image = image;
    return true;
}

std::uint32_t HeadlessNode::backColor() const
{
    return exists() ? m_BackColor : WindowBackgroundColor;
}

void HeadlessNode::setBackColor(std::uint32_t color)
{
    if (exists())
        m_BackColor = color;
}

bool HeadlessNode::expanded() const
{
    return exists() && m_Expanded;
}

void HeadlessNode::setExpanded(bool expanded)
{
    if (exists())
        m_Expanded = expanded;
}

bool HeadlessNode::selected() const
{
    return exists() && m_Tree->m_Selected.get() == this;
}

void HeadlessNode::setSelected(bool selected)
{
    if (!exists())
        return;
    if (selected)
        m_Tree->select(this);
    else if (this->selected())
        m_Tree->select(nullptr);
}

void HeadlessNode::ensureVisible()
{
    if (!exists())
        return;
    for (HeadlessNode* ancestor = m_Parent; ancestor; ancestor = ancestor->m_Parent)
        ancestor->m_Expanded = true;
    m_Tree->scrollIntoView(*this);
}

HeadlessTree::HeadlessTree(std::u16string name, const Geometry& design, bool visible, FocusTracker& focus,
    ImageList images, double twipsPerPixelY)
    : HeadlessWidget(std::move(name), design, visible, focus)
    , m_Images(images)
    , m_TwipsPerPixelY(twipsPerPixelY)
{
}

HeadlessTree::~HeadlessTree()
{
    clear();
}

NodeRef HeadlessTree::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    const KeyIndex::Hashed hashedKey = m_NodesByKey.prepare(key);
    HeadlessNode* parent = nullptr;
    if (relative && relationship == NodeRelationship::Child) {
        auto* relativeNode = dynamic_cast<HeadlessNode*>(relative.get());
        if (!relativeNode || relativeNode->m_Tree != this)
            return nullptr;
        parent = relativeNode;
    }
    // The texts are kept while the index's slot comes from memory.
    const std::u16string_view keptKey = m_Texts.keep(key);
    const std::u16string_view keptText = m_Texts.keep(text);
    // One look into the index both tells a key already there and files the new one.
    if (!m_NodesByKey.insert(hashedKey, key, m_Nodes.size(),
            [this](std::size_t position) -> std::u16string_view { return m_Nodes[position]->m_Key; })) {
        m_Texts.giveBack(keptText);
        m_Texts.giveBack(keptKey);
        return nullptr;
    }
    auto node = m_Blocks.emplace(*this, parent, keptKey, keptText, holdsImage(m_Images, image) ? image : 0);
    node->m_Index = static_cast<std::int32_t>(m_Nodes.size()) + 1;
    link(*node);
    m_Nodes.push_back(std::move(node));
    return m_Nodes.back();
}

// Makes the node the last child of its parent, or the last top node.
void HeadlessTree::link(HeadlessNode& node)
{
    HeadlessNode*& last = node.m_Parent ? node.m_Parent->m_LastChild : m_LastTop;
    HeadlessNode*& first = node.m_Parent ? node.m_Parent->m_FirstChild : m_FirstTop;
    node.m_PreviousSibling = last;
    if (last)
        last->m_NextSibling = &node;
    else
        first = &node;
    last = &node;
    if (node.m_Parent)
        ++node.m_Parent->m_ChildCount;
}

void HeadlessTree::unlink(HeadlessNode& node)
{
    HeadlessNode*& first = node.m_Parent ? node.m_Parent->m_FirstChild : m_FirstTop;
    HeadlessNode*& last = node.m_Parent ? node.m_Parent->m_LastChild : m_LastTop;
    (node.m_PreviousSibling ? node.m_PreviousSibling->m_NextSibling : first) = node.m_NextSibling;
    (node.m_NextSibling ? node.m_NextSibling->m_PreviousSibling : last) = node.m_PreviousSibling;
    if (node.m_Parent)
        --node.m_Parent->m_ChildCount;
    node.m_PreviousSibling = nullptr;
    node.m_NextSibling = nullptr;
}

// Takes the node and every node below it out of the tree. The links inside the subtree stay
// until the walk is done, so the walk needs no stack however deep the subtree is.
void HeadlessTree::leaveSubtree(HeadlessNode& top)
{
    HeadlessNode* node = &top;
    while (true) {
        node->m_Tree = nullptr;
        if (m_Selected.get() == node)
            m_Selected.reset();
        if (node->m_FirstChild) {
            node = node->m_FirstChild;
            continue;
        }
        while (node != &top && !node->m_NextSibling)
            node = node->m_Parent;
        if (node == &top)
            break;
        node = node->m_NextSibling;
    }
}

bool HeadlessTree::remove(const NodeRef& node)
{
    auto* target = dynamic_cast<HeadlessNode*>(node.get());
    if (!target || target->m_Tree != this)
        return false;
    unlink(*target);
    leaveSubtree(*target);
    std::erase_if(m_Nodes, [](const std::shared_ptr<HeadlessNode>& each) { return !each->exists(); });
    for (std::size_t i = 0; i < m_Nodes.size(); ++i)
        m_Nodes[i]->m_Index = static_cast<std::int32_t>(i) + 1;
    indexKeys();
    return true;
}

void HeadlessTree::clear()
{
    m_NodesByKey.clear();
    for (auto& node : m_Nodes)
        node->m_Tree = nullptr;
    m_Nodes.clear();
    m_Blocks.clear();
    m_Texts.clear();
    m_FirstTop = nullptr;
    m_LastTop = nullptr;
    m_Selected.reset();
    m_ScrollPosition = 0;
}

std::int32_t HeadlessTree::count() const
{
    return static_cast<std::int32_t>(m_Nodes.size());
}

NodeRef HeadlessTree::node(std::int32_t index) const
{
    if (index < 1 || index > count())
        return nullptr;
    return m_Nodes[static_cast<std::size_t>(index) - 1];
}

NodeRef HeadlessTree::find(const std::u16string& key) const
{
    HeadlessNode* found = findByKey(key);
    return found ? handleOf(*found) : nullptr;
}

const std::shared_ptr<HeadlessNode>& HeadlessTree::handleOf(const HeadlessNode& node) const
{
    return m_Nodes[static_cast<std::size_t>(node.m_Index) - 1];
}

HeadlessNode* HeadlessTree::findByKey(std::u16string_view key) const
{
    const auto position = m_NodesByKey.find(
        key, [this](std::size_t each) -> std::u16string_view { return m_Nodes[each]->m_Key; });
    return position ? m_Nodes[*position].get() : nullptr;
}

// Positions move when nodes leave, so the index is filled again.
void HeadlessTree::indexKeys()
{
    m_NodesByKey.clear();
    for (std::size_t position = 0; position < m_Nodes.size(); ++position)
        m_NodesByKey.insert(m_Nodes[position]->m_Key, position,
            [this](std::size_t each) -> std::u16string_view { return m_Nodes[each]->m_Key; });
}

NodeRef HeadlessTree::selectedNode() const
{
    return m_Selected;
}

void HeadlessTree::select(HeadlessNode* node)
{
    m_Selected = node ? handleOf(*node) : nullptr;
}

// Calls visit(node) for every row that open branches let be seen, top to bottom, until it returns
// false.
template<typename Visit> void HeadlessTree::forEachShownRow(Visit visit) const
{
    const HeadlessNode* node = m_FirstTop;
    while (node) {
        if (!visit(*node))
            return;
        if (node->m_Expanded && node->m_FirstChild) {
            node = node->m_FirstChild;
            continue;
        }
        while (node && !node->m_NextSibling)
            node = node->m_Parent;
        if (node)
            node = node->m_NextSibling;
    }
}

auto HeadlessTree::shownRows() const
{
    return [this](auto visit) { forEachShownRow(visit); };
}

std::int32_t HeadlessTree::rowsPerPage() const
{
    return TreeRows::RowsPerPage(height(), m_TwipsPerPixelY);
}

std::int32_t HeadlessTree::visibleRowCount() const
{
    return TreeRows::ShownRowCount(shownRows());
}

std::int32_t HeadlessTree::rowOf(const HeadlessNode& target) const
{
    return TreeRows::RowOf(shownRows(), target);
}

std::int32_t HeadlessTree::clampedScroll(std::int32_t position) const
{
    return TreeRows::ClampedScroll(position, visibleRowCount(), rowsPerPage());
}

std::int32_t HeadlessTree::scrollPosition() const
{
    // The range shrinks when branches close or the tree gets taller; the position follows it.
    m_ScrollPosition = clampedScroll(m_ScrollPosition);
    return m_ScrollPosition;
}

void HeadlessTree::setScrollPosition(std::int32_t position)
{
    m_ScrollPosition = clampedScroll(position);
}

void HeadlessTree::scrollIntoView(const HeadlessNode& node)
{
    const std::int32_t row = rowOf(node);
    if (row >= 0)
        m_ScrollPosition
            = TreeRows::ScrollShowingRow(row, scrollPosition(), visibleRowCount(), rowsPerPage());
}

double HeadlessTree::rowTop(const HeadlessNode& node) const
{
    return (rowOf(node) - scrollPosition()) * TreeRows::RowHeightPixels * m_TwipsPerPixelY;
}

NodeRef HeadlessTree::hitTest(double, double y) const
{
    const HeadlessNode* node = TreeRows::NodeInRow<HeadlessNode>(
        shownRows(), TreeRows::RowAt(y, m_TwipsPerPixelY, scrollPosition()));
    return node ? handleOf(*node) : nullptr;
}

HeadlessNode* HeadlessTree::operatorTarget(const std::u16string& key) const
{
    if (!visible())
        return nullptr;
    return findByKey(key);
}

bool HeadlessTree::operatorClick(const std::u16string& key)
{
    HeadlessNode* node = operatorTarget(key);
    if (!node)
        return false;
    NodeRef handle = handleOf(*node);
    MouseDown(1, 0, 0, rowTop(*node));
    select(node);
    NodeClick(handle);
    Click();
    return true;
}

bool HeadlessTree::operatorRightClick(const std::u16string& key)
{
    HeadlessNode* node = operatorTarget(key);
    if (!node)
        return false;
    MouseDown(2, 0, 0, rowTop(*node) + TreeRows::RowHeightPixels / 2 * m_TwipsPerPixelY);
    Click();
    return true;
}

bool HeadlessTree::operatorDoubleClick(const std::u16string& key)
{
    if (!operatorClick(key))
        return false;
    DblClick();
    return true;
}

bool HeadlessTree::operatorExpand(const std::u16string& key)
{
    HeadlessNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (!node->m_Expanded) {
        node->m_Expanded = true;
        Expand(handleOf(*node));
    }
    return true;
}

bool HeadlessTree::operatorCollapse(const std::u16string& key)
{
    HeadlessNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (node->m_Expanded) {
        node->m_Expanded = false;
        Collapse(handleOf(*node));
    }
    return true;
}

bool HeadlessTree::operatorMouseMove()
{
    if (!visible())
        return false;
    MouseMove();
    return true;
}

bool HeadlessTree::operatorScroll(std::int32_t position)
{
    if (!visible())
        return false;
    setScrollPosition(position);
    return true;
}

} // namespace vestrak
