#pragma once

#include "../ports/image_lists.h"
#include "../ports/signal.h"
#include "../ports/widget.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

class TreeNode;
/// A handle to a node. It stays safe after the node has left its tree: a removed node answers
/// with empty values and ignores changes.
using NodeRef = std::shared_ptr<TreeNode>;

/// A node of a Tree, reached through a NodeRef.
class TreeNode {
public:
    virtual ~TreeNode() = default;

    /// False once the node has been removed from its tree (or the tree was cleared).
    [[nodiscard]] virtual bool exists() const = 0;
    /// The key it was added with, unique in its tree.
    [[nodiscard]] virtual std::u16string key() const = 0;
    /// The text its row shows.
    [[nodiscard]] virtual std::u16string text() const = 0;
    /// The texts from the top node down to this one, joined by "\".
    [[nodiscard]] virtual std::u16string fullPath() const = 0;
    /// The node it was added under; null for a top node.
    [[nodiscard]] virtual NodeRef parent() const = 0;
    /// The number of its direct children.
    [[nodiscard]] virtual std::int32_t children() const = 0;
    /// Position in the tree's node collection in order of addition, from 1; 0 once removed.
    [[nodiscard]] virtual std::int32_t index() const = 0;

    /// The image shown now: for a blinking node, the one of its tree's blink phase.
    [[nodiscard]] virtual std::int32_t image() const = 0;
    /// False when the tree's image list has no such image; the node keeps its image then. A
    /// blinking node becomes steady.
    virtual bool setImage(std::int32_t image) = 0;
    /// The node shows the first image while its tree's blink phase is off and the second while it
    /// is on; the same image twice makes it steady. A phase's image the list lacks is the image
    /// the node shows now.
    virtual void setBlinkImages(std::int32_t phaseOffImage, std::int32_t phaseOnImage) = 0;
    /// What the image stands for in words, such as "alarm, blinking": tooltips and screen readers
    /// give them, since the image shows them by colour and shape alone. Empty until set.
    [[nodiscard]] virtual std::u16string imageMeaning() const = 0;
    /// Sets what the image stands for, as imageMeaning() gives it.
    virtual void setImageMeaning(std::u16string_view words) = 0;
    ///@{
    /// Back colour of its row, as hosts give colours (see WindowBackgroundColor); a new node's is
    /// WindowBackgroundColor.
    [[nodiscard]] virtual std::uint32_t backColor() const = 0;
    virtual void setBackColor(std::uint32_t color) = 0;
    ///@}
    /// A flag of the node: it may be set before the node has children.
    [[nodiscard]] virtual bool expanded() const = 0;
    /// Opens or closes the node; raises no event.
    virtual void setExpanded(bool expanded) = 0;
    /// Whether it is the tree's selected node.
    [[nodiscard]] virtual bool selected() const = 0;
    /// Selecting a node makes it the tree's selected node.
    virtual void setSelected(bool selected) = 0;
    /// Opens every ancestor and scrolls the node into view.
    virtual void ensureVisible() = 0;
};

/// Where Tree::add() puts a node: the last top node, or the last child of its relative.
enum class NodeRelationship { Last, Child };

/// The phase of every blinking node of a tree: each shows its first image while Off, its second
/// while On.
enum class BlinkPhase { Off, On };

/// What a node shows, as TreeNode::setBlinkImages and TreeNode::setImageMeaning take it.
struct NodeLooks {
    /// The image shown while the blink phase is off.
    std::int32_t phaseOffImage = 0;
    /// The image shown while the blink phase is on: the same for a steady node.
    std::int32_t phaseOnImage = 0;
    /// What the image stands for, in words.
    std::u16string_view imageMeaning;
};

/// The keys an operator action plays on a tree.
enum class TreeKey { Up, Down, Enter };

/// Keys and texts a tree reads when it needs them instead of keeping copies: a control lends the
/// lines it keeps anyway. Distinct references give distinct keys.
class LentNodeTexts {
public:
    virtual ~LentNodeTexts() = default;
    /// The key and text of the node made from reference, written into the rooms given.
    virtual void keyAndText(std::uint32_t reference, std::u16string& key, std::u16string& text) const = 0;
    /// For a lender whose keys tell their reference: the one reference whose key may be key (one
    /// no node was lent for when none may). Nullopt when the key tells nothing: the tree looks
    /// the key up among all its nodes.
    [[nodiscard]] virtual std::optional<std::uint32_t> referenceOfKey(std::u16string_view key) const
    {
        (void)key;
        return std::nullopt;
    }
    /// The texts of the branches the lender places the node of reference under, from the top: where
    /// the object lies, though a filter may have left them out of the tree. Empty when the lender
    /// does not know.
    [[nodiscard]] virtual std::vector<std::u16string> placeOf(std::uint32_t reference) const
    {
        (void)reference;
        return {};
    }
};

/// A tree view with its node collection. Setting states from code raises no event; only the
/// operator actions at the end raise them.
class Tree : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::Tree; }
    /// The image list its nodes take their images from.
    [[nodiscard]] virtual ImageList imageList() const = 0;

    /// Adds a node as the last child of relative (Child) or as the last top node (Last, or no
    /// relative). Null when the key is already in the tree. An image the image list lacks gives
    /// a node without an image. The node keeps copies of key and text.
    virtual NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image)
        = 0;
    /// The same with key and text read from texts when they are needed; the tree keeps texts as
    /// long as it has such nodes.
    virtual NodeRef addLent(const NodeRef& relative, NodeRelationship relationship,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
        = 0;
    /// For a build of many nodes, with no handle made for each: addLent as the last child of the
    /// node of that index (from 1), or as the last top node for 0. The new node's index, which
    /// is count(); 0 where no node was added (no node of that index, or as addLent).
    virtual std::int32_t addLentBelow(std::int32_t parentIndex,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
        = 0;
    /// Removes the node with its subtree; the indexes of the nodes after it move up.
    virtual bool remove(const NodeRef& node) = 0;
    /// Removes every node.
    virtual void clear() = 0;
    /// The number of nodes.
    [[nodiscard]] virtual std::int32_t count() const = 0;
    /// By position from 1; null outside 1 to count.
    [[nodiscard]] virtual NodeRef node(std::int32_t index) const = 0;
    /// Null when no node has that key.
    [[nodiscard]] virtual NodeRef find(const std::u16string& key) const = 0;
    ///@{
    /// For a walk over many nodes, with no handle made for each: the nodes from index first on,
    /// as many as parents or chosen holds and no further than the last node. The indexes of their
    /// parents (0 for a top node); and looks given to them, image meaning first, node first + i
    /// taking looks[chosen[i]] (many nodes share a few looks; a number past them leaves its node
    /// as it is).
    virtual void parentIndexes(std::int32_t first, std::span<std::int32_t> parents) const = 0;
    virtual void setNodeLooks(
        std::int32_t first, std::span<const NodeLooks> looks, std::span<const std::uint16_t> chosen)
        = 0;
    ///@}
    /// Null when no node is selected.
    [[nodiscard]] virtual NodeRef selectedNode() const = 0;
    /// The node whose row lies under a point of the tree (twips from its top left, as MouseDown
    /// tells them); null off the rows.
    [[nodiscard]] virtual NodeRef hitTest(double x, double y) const = 0;

    ///@{
    /// Back colour of the tree, as hosts give colours (see WindowBackgroundColor).
    [[nodiscard]] virtual std::uint32_t backColor() const = 0;
    virtual void setBackColor(std::uint32_t color) = 0;
    /// Turns every blinking node at once; the tree repaints only the rows it shows.
    virtual void setBlinkPhase(BlinkPhase phase) = 0;
    ///@}

    /// The index, from 0, of the first row shown among the rows that open branches let be seen.
    [[nodiscard]] virtual std::int32_t scrollPosition() const = 0;
    /// Limited to the scroll range: the range ends where the last row reaches the bottom.
    virtual void setScrollPosition(std::int32_t position) = 0;
    /// Text the tree shows while it has no nodes, such as why a filter left it empty.
    [[nodiscard]] virtual std::u16string placeholderText() const = 0;
    /// Sets the text shown while the tree has no nodes.
    virtual void setPlaceholderText(const std::u16string& text) = 0;

    /// Raised with the node the operator clicked, after it became the selected node.
    Signal<const NodeRef&> NodeClick;
    ///@{
    /// Raised with the node the operator opened or closed.
    Signal<const NodeRef&> Expand;
    Signal<const NodeRef&> Collapse;
    ///@}
    /// Raised when the operator clicks the tree, after any NodeClick.
    Signal<> Click;
    /// Raised when the operator double-clicks the tree.
    Signal<> DblClick;
    /// Button code (1 left, 2 right, 4 middle), shift state, position in twips.
    Signal<std::int16_t, std::int16_t, double, double> MouseDown;
    /// Raised when the mouse moves over the tree.
    Signal<> MouseMove;
    /// A key went down while the tree had the keyboard, before the tree acts on it.
    Signal<> KeyDown;
    /// The operator scrolled the rows: the wheel or the scroll bar.
    Signal<> Scroll;

    ///@{
    /// Operator actions: what a mouse does, raising the events a toolkit raises, in its order.
    /// False when the tree is hidden or has no node with that key.
    virtual bool operatorClick(const std::u16string& key) = 0;
    virtual bool operatorRightClick(const std::u16string& key) = 0;
    virtual bool operatorDoubleClick(const std::u16string& key) = 0;
    virtual bool operatorExpand(const std::u16string& key) = 0;
    virtual bool operatorCollapse(const std::u16string& key) = 0;
    virtual bool operatorMouseMove() = 0;
    virtual bool operatorScroll(std::int32_t position) = 0;
    ///@}
    /// What a key does, after KeyDown: Up and Down select the row above or below (the first row
    /// when none is selected) with a node click; Enter acts on the selected row as a double click
    /// does, its node click first, then DblClick. False when the tree is hidden.
    virtual bool operatorKey(TreeKey key) = 0;
};

} // namespace vestrak
