#include "widgets/node_store.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <typeinfo>
#include <utility>

namespace vestrak {

// A million-line plant keeps a million of them.
static_assert(sizeof(StoredNode) <= 32);

StoredNode::StoredNode(std::uint32_t parent, std::uint8_t image)
    : m_Parent(parent)
    , m_Image(image)
{
}

std::u16string StoredNode::key() const
{
    std::u16string key;
    std::u16string text;
    if (exists())
        store().textsOf(*this, key, text);
    return key;
}

std::u16string StoredNode::text() const
{
    return exists() ? store().textOf(*this) : std::u16string();
}

std::u16string StoredNode::fullPath() const
{
    if (!exists())
        return {};
    const NodeStore& nodes = store();
    std::vector<std::u16string> chain;
    for (const StoredNode* node = this; node; node = nodes.at(node->m_Parent))
        chain.push_back(nodes.textOf(*node));
    std::u16string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin())
            path += u'\\';
        path += *it;
    }
    return path;
}

NodeRef StoredNode::parent() const
{
    if (!exists() || m_Parent == NoNode)
        return nullptr;
    return store().handleOf(*store().at(m_Parent));
}

std::int32_t StoredNode::children() const
{
    return childCount();
}

std::int32_t StoredNode::index() const
{
    return exists() ? store().indexOf(*this) : 0;
}

std::int32_t StoredNode::image() const
{
    return exists() ? imageIndex() : 0;
}

bool StoredNode::setImage(std::int32_t image)
{
    if (!exists() || !holdsImage(store().imageList(), image))
        return false;
    setBlinkImages(image, image);
    return true;
}

void StoredNode::setBlinkImages(std::int32_t phaseOffImage, std::int32_t phaseOnImage)
{
    if (!exists())
        return;
    const ImageList images = store().imageList();
    const std::uint8_t shown = imageIndex();
    const auto held = [&](std::int32_t image) {
        return holdsImage(images, image) ? static_cast<std::uint8_t>(image) : shown;
    };
    showHeldImages(held(phaseOffImage), held(phaseOnImage));
}

void StoredNode::showHeldImages(std::uint8_t offImage, std::uint8_t onImage)
{
    if (showsImages(offImage, onImage))
        return;
    const bool blinking = offImage != onImage;
    const std::uint8_t shown = imageIndex();
    m_Image = offImage;
    m_PhaseOnImage = blinking ? onImage : 0;
    m_Blinking = blinking;
    if (imageIndex() != shown)
        store().m_Observer.nodeLooksChanged(*this);
}

std::u16string StoredNode::imageMeaning() const
{
    return exists() ? store().m_ImageMeanings[m_ImageMeaning] : std::u16string();
}

namespace {

// Compares the bytes at once where the string's own comparison goes unit by unit.
bool SameWords(std::u16string_view kept, std::u16string_view words)
{
    // Empty words may point at no bytes at all.
    return kept.size() == words.size()
        && (words.empty() || std::memcmp(kept.data(), words.data(), words.size() * sizeof(char16_t)) == 0);
}

} // namespace

// A table of a few texts, numbered in a byte: a status tree gives each of its nodes one of a dozen.
void StoredNode::setImageMeaning(std::u16string_view words)
{
    if (!exists())
        return;
    NodeStore& nodes = store();
    if (SameWords(nodes.m_ImageMeanings[m_ImageMeaning], words))
        return;
    if (const std::optional<std::uint8_t> place = nodes.placeOfImageMeaning(words))
        m_ImageMeaning = *place;
}

std::optional<std::uint8_t> NodeStore::placeOfImageMeaning(std::u16string_view words)
{
    // A load gives its nodes their meanings one after the other, often the same in a row.
    if (SameWords(m_ImageMeanings[m_LastImageMeaning], words))
        return m_LastImageMeaning;
    const auto found = std::find_if(m_ImageMeanings.begin(), m_ImageMeanings.end(),
        [words](const std::u16string& each) { return SameWords(each, words); });
    if (found != m_ImageMeanings.end()) {
        m_LastImageMeaning = static_cast<std::uint8_t>(found - m_ImageMeanings.begin());
    } else if (m_ImageMeanings.size() <= UINT8_MAX) {
        m_LastImageMeaning = static_cast<std::uint8_t>(m_ImageMeanings.size());
        m_ImageMeanings.emplace_back(words);
    } else {
        return std::nullopt;
    }
    return m_LastImageMeaning;
}

std::uint32_t StoredNode::backColor() const
{
    return exists() ? store().backColorOf(*this) : WindowBackgroundColor;
}

void StoredNode::setBackColor(std::uint32_t color)
{
    if (!exists() || color == backColor())
        return;
    NodeStore& nodes = store();
    m_HasBackColor = color != WindowBackgroundColor;
    if (m_HasBackColor)
        nodes.m_BackColors[this] = color;
    else
        nodes.m_BackColors.erase(this);
    nodes.m_Observer.nodeLooksChanged(*this);
}

bool StoredNode::expanded() const
{
    return exists() && m_Expanded;
}

void StoredNode::setExpanded(bool expanded)
{
    if (!exists() || m_Expanded == expanded)
        return;
    m_Expanded = expanded;
    store().m_Observer.nodeExpandedChanged(*this);
}

bool StoredNode::selected() const
{
    return exists() && store().m_Selected.get() == this;
}

void StoredNode::setSelected(bool selected)
{
    if (!exists())
        return;
    if (selected)
        store().select(this);
    else if (this->selected())
        store().select(nullptr);
}

void StoredNode::ensureVisible()
{
    if (!exists())
        return;
    NodeStore& nodes = store();
    for (StoredNode* ancestor = nodes.at(m_Parent); ancestor; ancestor = nodes.at(ancestor->m_Parent))
        ancestor->setExpanded(true);
    nodes.m_Observer.scrollIntoView(*this);
}

NodeStore::NodeStore(ImageList images, NodeStoreObserver& observer)
    : m_Images(images)
    , m_Observer(observer)
{
}

NodeStore::~NodeStore()
{
    letGoOfNodes();
}

// A handle kept after its node left must tell it no longer exists.
void NodeStore::letGoOfNodes()
{
    m_Selected.reset();
    m_Blocks.clear([](StoredNode& node) { node.m_InStore = false; });
}

bool NodeStore::parentFor(const NodeRef& relative, NodeRelationship relationship, StoredNode*& parent) const
{
    parent = relative && relationship == NodeRelationship::Child ? ownNode(relative) : nullptr;
    return parent || !relative || relationship != NodeRelationship::Child;
}

NodeRef NodeStore::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    StoredNode* parent = nullptr;
    if (!parentFor(relative, relationship, parent) || !placeOwn(parent, key, text, image))
        return nullptr;
    return m_Blocks.handleOfLast();
}

NodeRef NodeStore::addLent(const NodeRef& relative, NodeRelationship relationship,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    StoredNode* parent = nullptr;
    if (!parentFor(relative, relationship, parent) || !placeLent(parent, texts, reference, image))
        return nullptr;
    return m_Blocks.handleOfLast();
}

std::int32_t NodeStore::addLentBelow(std::int32_t parentIndex,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    if (parentIndex < 0 || parentIndex > m_Count)
        return 0;
    StoredNode* parent = parentIndex == 0 ? nullptr : &nodeAt(static_cast<std::size_t>(parentIndex) - 1);
    return placeLent(parent, texts, reference, image) ? m_Count : 0;
}

StoredNode* NodeStore::placeOwn(
    StoredNode* parent, std::u16string_view key, std::u16string_view text, std::int32_t image)
{
    indexAllKeys();
    const KeyIndex::Hashed hashedKey = m_NodesByKey.prepare(key);
    // The texts are kept while the index's slot comes from memory.
    const std::u16string_view kept = m_Texts.keep(key, text);
    // One look into the index both tells a key already there and files the new one.
    std::u16string room;
    if (!m_NodesByKey.insert(hashedKey, key, static_cast<std::size_t>(m_Count),
            [this, &room](std::size_t position) { return keyOf(nodeAt(position), room); })) {
        m_Texts.giveBack(kept);
        return nullptr;
    }
    ++m_IndexedNodes;
    m_OwnKeys = true;
    StoredNode& placed = place(parent, image);
    placed.m_OwnTexts = true;
    placed.m_Texts = static_cast<std::uint32_t>(m_OwnTexts.size());
    m_OwnTexts.push_back(
        { kept.data(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(text.size()) });
    return &placed;
}

StoredNode* NodeStore::placeLent(StoredNode* parent, const std::shared_ptr<const LentNodeTexts>& texts,
    std::uint32_t reference, std::int32_t image)
{
    if (!texts)
        return nullptr;
    if (m_Lender && m_Lender != texts) {
        // The store reads lent texts from one lender: those of another are kept as copies.
        std::u16string key;
        std::u16string text;
        texts->keyAndText(reference, key, text);
        return placeOwn(parent, key, text, image);
    }
    // Set once: an assignment for every node would count the lender's users up and down.
    if (!m_Lender)
        m_Lender = texts;
    const bool inOrder = reference > m_HighestLentReference;
    m_LentInOrder = m_LentInOrder && inOrder;
    if (m_OwnKeys || !inOrder) {
        std::u16string key;
        texts->keyAndText(reference, key, m_SpareText);
        if (findByKey(key))
            return nullptr;
    }
    m_HighestLentReference = std::max<std::int64_t>(m_HighestLentReference, reference);
    StoredNode& node = place(parent, image);
    node.m_Texts = reference;
    return &node;
}

StoredNode& NodeStore::place(StoredNode* parent, std::int32_t image)
{
    StoredNode& node = m_Blocks.place(parent ? numberOf(*parent) : StoredNode::NoNode,
        static_cast<std::uint8_t>(holdsImage(m_Images, image) ? image : 0));
    const std::uint32_t id = m_Blocks.lastId();
    ++m_Count;
    link(node, id, parent);
    if (m_Listed) {
        m_Nodes.push_back(&node);
        m_IndexById.push_back(m_Count);
    }
    return node;
}

// Makes the node the last child of its parent, or the last top node.
void NodeStore::link(StoredNode& node, std::uint32_t id, StoredNode* parent)
{
    StoredNode* first = firstChildOf(parent);
    if (first) {
        StoredNode* last = at(first->m_RowOrLastSibling);
        last->m_NextSibling = id;
        node.m_RowOrLastSibling = static_cast<std::uint32_t>(last->row()) + 1;
        first->m_RowOrLastSibling = id;
        return;
    }
    node.m_FirstSibling = true;
    node.m_RowOrLastSibling = id;
    if (parent)
        parent->m_FirstChild = id;
    else
        m_FirstTop = &node;
}

void NodeStore::unlink(StoredNode& node)
{
    StoredNode* parent = at(node.m_Parent);
    StoredNode* first = firstChildOf(parent);
    StoredNode* next = at(node.m_NextSibling);
    if (&node == first) {
        if (parent)
            parent->m_FirstChild = node.m_NextSibling;
        else
            m_FirstTop = next;
        if (!next)
            return;
        next->m_FirstSibling = true;
        next->m_RowOrLastSibling = node.m_RowOrLastSibling;
        next = at(next->m_NextSibling);
    } else {
        StoredNode* previous = first;
        for (std::int32_t row = node.row() - 1; row > 0; --row)
            previous = at(previous->m_NextSibling);
        previous->m_NextSibling = node.m_NextSibling;
        if (!next)
            first->m_RowOrLastSibling = numberOf(*previous);
    }
    for (StoredNode* after = next; after; after = at(after->m_NextSibling))
        --after->m_RowOrLastSibling;
    node.m_NextSibling = StoredNode::NoNode;
}

// Takes the node and every node below it out of the store. The links inside the subtree stay
// until the walk is done, so the walk needs no stack however deep the subtree is.
void NodeStore::leaveSubtree(StoredNode& top)
{
    StoredNode* node = &top;
    while (true) {
        node->m_InStore = false;
        if (node->m_HasBackColor) {
            node->m_HasBackColor = false;
            m_BackColors.erase(node);
        }
        if (m_Selected.get() == node)
            m_Selected.reset();
        if (node->m_FirstChild != StoredNode::NoNode) {
            node = at(node->m_FirstChild);
            continue;
        }
        while (node != &top && node->m_NextSibling == StoredNode::NoNode)
            node = at(node->m_Parent);
        if (node == &top)
            break;
        node = at(node->m_NextSibling);
    }
}

bool NodeStore::remove(const NodeRef& node)
{
    StoredNode* target = ownNode(node);
    if (!target)
        return false;
    unlink(*target);
    leaveSubtree(*target);
    if (!m_Listed) {
        m_Nodes.reserve(static_cast<std::size_t>(m_Count));
        for (std::uint32_t id = 0; id < static_cast<std::uint32_t>(m_Count); ++id)
            m_Nodes.push_back(&m_Blocks.at(id));
        m_Listed = true;
    }
    std::erase_if(m_Nodes, [](const StoredNode* each) { return !each->exists(); });
    m_Count = static_cast<std::int32_t>(m_Nodes.size());
    m_IndexById.resize(m_Blocks.lastId() + std::size_t { 1 });
    for (std::size_t i = 0; i < m_Nodes.size(); ++i)
        m_IndexById[numberOf(*m_Nodes[i])] = static_cast<std::int32_t>(i) + 1;
    // Positions moved: the index is filled again when a key is next looked up.
    m_NodesByKey.clear();
    m_IndexedNodes = 0;
    return true;
}

void NodeStore::clear()
{
    m_NodesByKey.clear();
    m_IndexedNodes = 0;
    m_Nodes.clear();
    m_IndexById.clear();
    m_Listed = false;
    m_Count = 0;
    letGoOfNodes();
    m_Texts.clear();
    m_OwnTexts.clear();
    m_Lender.reset();
    m_HighestLentReference = -1;
    m_LentInOrder = true;
    m_OwnKeys = false;
    m_BackColors.clear();
    m_FirstTop = nullptr;
}

NodeRef NodeStore::node(std::int32_t index) const
{
    if (index < 1 || index > count())
        return nullptr;
    const std::size_t position = static_cast<std::size_t>(index) - 1;
    // Until a node leaves, its position is its number: the handle comes without a look at the node.
    return m_Listed ? handleOf(*m_Nodes[position]) : m_Blocks.handleOf(static_cast<std::uint32_t>(position));
}

void NodeStore::parentIndexes(std::int32_t first, std::span<std::int32_t> parents) const
{
    const auto start = static_cast<std::size_t>(std::max(first, 1) - 1);
    const std::size_t end = std::min(start + parents.size(), static_cast<std::size_t>(m_Count));
    std::int32_t* parent = parents.data();
    if (m_Listed) {
        forEachNodeAt(start, end, [&](const StoredNode& node) {
            *parent++ = node.m_Parent == StoredNode::NoNode ? 0 : m_IndexById[node.m_Parent];
        });
        return;
    }
    // A node's index is its number + 1, and NoNode + 1 wraps to 0, a top node's parent index.
    static_assert(StoredNode::NoNode + 1 == 0);
    forEachNodeAt(start, end,
        [&](const StoredNode& node) { *parent++ = static_cast<std::int32_t>(node.m_Parent + 1); });
}

namespace {

// What the nodes given one looks show, made out once for all of them.
struct ShownLooks {
    // Made out, with both images in the list and a place for the meaning: the common case.
    bool plain = false;
    bool madeOut = false;
    std::uint8_t phaseOffImage = 0;
    std::uint8_t phaseOnImage = 0;
    std::uint8_t meaning = 0;
};

} // namespace

void NodeStore::setNodeLooks(
    std::int32_t first, std::span<const NodeLooks> looks, std::span<const std::uint16_t> chosen)
{
    const auto start = static_cast<std::size_t>(std::max(first, 1) - 1);
    const std::size_t end = std::min(start + chosen.size(), static_cast<std::size_t>(m_Count));
    std::vector<ShownLooks> shown(looks.size());
    // Looks not yet made out, with an image the list lacks (each node keeps its own then), or
    // whose meaning finds the table full (each node keeps its own too).
    const auto giveUnplainLooks = [&](StoredNode& node, std::uint16_t which) {
        if (which >= looks.size())
            return;
        const NodeLooks& given = looks[which];
        ShownLooks& each = shown[which];
        if (!each.madeOut) {
            const bool held
                = holdsImage(m_Images, given.phaseOffImage) && holdsImage(m_Images, given.phaseOnImage);
            const std::optional<std::uint8_t> meaning = placeOfImageMeaning(given.imageMeaning);
            each = { .plain = held && meaning,
                .madeOut = true,
                .phaseOffImage = static_cast<std::uint8_t>(held ? given.phaseOffImage : 0),
                .phaseOnImage = static_cast<std::uint8_t>(held ? given.phaseOnImage : 0),
                .meaning = meaning.value_or(0) };
        }
        node.setImageMeaning(given.imageMeaning);
        node.setBlinkImages(given.phaseOffImage, given.phaseOnImage);
    };
    const std::uint16_t* number = chosen.data();
    forEachNodeAt(start, end, [&](StoredNode& node) {
        const std::uint16_t which = *number++;
        if (which >= shown.size() || !shown[which].plain) [[unlikely]] {
            giveUnplainLooks(node, which);
            return;
        }
        // Nodes that already look as given are only read: their memory stays clean.
        const ShownLooks& each = shown[which];
        if (node.m_ImageMeaning != each.meaning)
            node.m_ImageMeaning = each.meaning;
        if (!node.showsImages(each.phaseOffImage, each.phaseOnImage))
            node.showHeldImages(each.phaseOffImage, each.phaseOnImage);
    });
}

NodeRef NodeStore::find(std::u16string_view key) const
{
    StoredNode* found = findByKey(key);
    return found ? handleOf(*found) : nullptr;
}

StoredNode* NodeStore::findByKey(std::u16string_view key) const
{
    if (m_Lender && m_LentInOrder && !m_OwnKeys && !m_Listed) {
        if (const std::optional<std::uint32_t> reference = m_Lender->referenceOfKey(key))
            return lentNodeWithKey(*reference, key);
    }
    indexAllKeys();
    std::u16string room;
    const auto position
        = m_NodesByKey.find(key, [this, &room](std::size_t each) { return keyOf(nodeAt(each), room); });
    return position ? &nodeAt(*position) : nullptr;
}

// Lent in the order of their references, the nodes are sorted by them: a first click on a
// plant of millions finds its node in a few steps instead of indexing every key.
StoredNode* NodeStore::lentNodeWithKey(std::uint32_t reference, std::u16string_view key) const
{
    std::size_t first = 0;
    auto end = static_cast<std::size_t>(m_Count);
    while (first < end) {
        const std::size_t middle = first + (end - first) / 2;
        if (nodeAt(middle).m_Texts < reference)
            first = middle + 1;
        else
            end = middle;
    }
    if (first == static_cast<std::size_t>(m_Count) || nodeAt(first).m_Texts != reference)
        return nullptr;
    std::u16string room;
    return keyOf(nodeAt(first), room) == key ? &nodeAt(first) : nullptr;
}

void NodeStore::indexAllKeys() const
{
    std::u16string key;
    std::u16string room;
    for (; m_IndexedNodes < static_cast<std::size_t>(m_Count); ++m_IndexedNodes)
        m_NodesByKey.insert(keyOf(nodeAt(m_IndexedNodes), key), m_IndexedNodes,
            [this, &room](std::size_t each) { return keyOf(nodeAt(each), room); });
}

std::u16string_view NodeStore::keyOf(const StoredNode& node, std::u16string& room) const
{
    if (node.m_OwnTexts) {
        const OwnTexts& own = m_OwnTexts[node.m_Texts];
        return { own.keyAndText, own.keyLength };
    }
    m_Lender->keyAndText(node.m_Texts, room, m_SpareText);
    return room;
}

void NodeStore::textsOf(const StoredNode& node, std::u16string& key, std::u16string& text) const
{
    if (node.m_OwnTexts) {
        const OwnTexts& own = m_OwnTexts[node.m_Texts];
        key.assign(own.keyAndText, own.keyLength);
        text.assign(own.keyAndText + own.keyLength, own.textLength);
    } else {
        m_Lender->keyAndText(node.m_Texts, key, text);
    }
}

std::vector<std::u16string> NodeStore::placeOf(const StoredNode& node) const
{
    if (!node.m_OwnTexts) {
        std::vector<std::u16string> lent = m_Lender->placeOf(node.m_Texts);
        if (!lent.empty())
            return lent;
    }
    std::vector<std::u16string> place;
    for (const StoredNode* above = node.parentNode(); above; above = above->parentNode())
        place.insert(place.begin(), textOf(*above));
    return place;
}

std::u16string NodeStore::textOf(const StoredNode& node) const
{
    std::u16string key;
    std::u16string text;
    textsOf(node, key, text);
    return text;
}

std::shared_ptr<StoredNode> NodeStore::handleOf(const StoredNode& node) const
{
    return m_Blocks.handleOf(numberOf(node));
}

StoredNode* NodeStore::ownNode(const NodeRef& handle) const
{
    // The node type is final: comparing types costs less than a cast that searches the bases,
    // which the build and the load would pay for every node they add.
    if (!handle || typeid(*handle) != typeid(StoredNode))
        return nullptr;
    auto* node = static_cast<StoredNode*>(handle.get());
    return node->m_InStore && &node->store() == this ? node : nullptr;
}

void NodeStore::select(StoredNode* node)
{
    m_Selected = node ? handleOf(*node) : nullptr;
    m_Observer.selectionChanged();
}

bool NodeStore::setExpandedByOperator(StoredNode& node, bool expanded)
{
    if (node.m_Expanded == expanded)
        return false;
    node.m_Expanded = expanded;
    return true;
}

void NodeStore::setBlinkPhase(BlinkPhase phase)
{
    if (std::exchange(m_BlinkPhase, phase) != phase)
        m_Observer.blinkPhaseChanged();
}

std::uint32_t NodeStore::backColorOf(const StoredNode& node) const
{
    return node.m_HasBackColor ? m_BackColors.at(&node) : WindowBackgroundColor;
}

std::int32_t NodeStore::shownRowCount() const
{
    std::int32_t rows = 0;
    forEachShownRow([&rows](const StoredNode&) {
        ++rows;
        return true;
    });
    return rows;
}

std::int32_t NodeStore::rowOf(const StoredNode& target) const
{
    std::int32_t row = 0;
    std::int32_t found = -1;
    forEachShownRow([&](const StoredNode& node) {
        if (&node == &target) {
            found = row;
            return false;
        }
        ++row;
        return true;
    });
    return found;
}

const StoredNode* NodeStore::nodeInRow(std::int32_t wantedRow) const
{
    const StoredNode* found = nullptr;
    std::int32_t row = 0;
    forEachShownRow([&](const StoredNode& node) {
        if (row++ == wantedRow) {
            found = &node;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace vestrak
