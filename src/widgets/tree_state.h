#pragma once

#include "ports/tree.h"
#include "widgets/node_store.h"
#include "widgets/widget_state.h"

namespace vestrak {

// A tree view's nodes, the rows its open branches show, its scroll position and what the
// operator's mouse and keyboard do to it, in the order a toolkit raises the events. Rows are 18
// pixels high and the view scrolls by rows. A widget set that draws the tree follows the changes
// through the protected hooks, and hands what the operator does on its view to the handlers.
class TreeState : public WidgetState<Tree>, protected NodeStoreObserver {
public:
    TreeState(std::u16string name, const Geometry& design, bool visible, WidgetHost& host, ImageList images);

    [[nodiscard]] ImageList imageList() const override { return m_Store.imageList(); }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image) override;
    NodeRef addLent(const NodeRef& relative, NodeRelationship relationship,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference,
        std::int32_t image) override;
    std::int32_t addLentBelow(std::int32_t parentIndex, const std::shared_ptr<const LentNodeTexts>& texts,
        std::uint32_t reference, std::int32_t image) override;
    bool remove(const NodeRef& node) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override { return m_Store.count(); }
    [[nodiscard]] NodeRef node(std::int32_t index) const override { return m_Store.node(index); }
    [[nodiscard]] NodeRef find(const std::u16string& key) const override { return m_Store.find(key); }
    void parentIndexes(std::int32_t first, std::span<std::int32_t> parents) const override
    {
        m_Store.parentIndexes(first, parents);
    }
    void setNodeLooks(
        std::int32_t first, std::span<const NodeLooks> looks, std::span<const std::uint16_t> chosen) override
    {
        m_Store.setNodeLooks(first, looks, chosen);
    }
    [[nodiscard]] NodeRef selectedNode() const override { return m_Store.selectedNode(); }
    [[nodiscard]] NodeRef hitTest(double x, double y) const override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    void setBackColor(std::uint32_t color) override;
    void setBlinkPhase(BlinkPhase phase) override { m_Store.setBlinkPhase(phase); }
    [[nodiscard]] std::int32_t scrollPosition() const override;
    void setScrollPosition(std::int32_t position) override;
    [[nodiscard]] std::u16string placeholderText() const override { return m_PlaceholderText; }
    void setPlaceholderText(const std::u16string& text) override;

    bool operatorClick(const std::u16string& key) override;
    bool operatorRightClick(const std::u16string& key) override;
    bool operatorDoubleClick(const std::u16string& key) override;
    bool operatorExpand(const std::u16string& key) override;
    bool operatorCollapse(const std::u16string& key) override;
    bool operatorMouseMove() override;
    bool operatorScroll(std::int32_t position) override;
    bool operatorKey(TreeKey key) override;

protected:
    enum class Branch { Close, Open };

    [[nodiscard]] NodeStore& store() { return m_Store; }
    [[nodiscard]] const NodeStore& store() const { return m_Store; }

    // What the operator did on a drawn view, with the node of the row it was done on.
    // A mouse button went down, x and y in twips; node is null off the rows and for buttons that
    // choose no row.
    void pressed(StoredNode* node, std::int16_t button, std::int16_t shift, double x, double y);
    // The right button went down in the middle of the node's row.
    void rightPressedOn(const StoredNode& node);
    void keyboardMovedTo(StoredNode& node);
    // Enter on the row.
    void activatedByKeyboard(StoredNode& node);
    void branchSetByOperator(StoredNode& node, Branch branch);
    // Every branch below the node, its own included; leaves are left as they are.
    void branchesBelowOpenedByOperator(const StoredNode& top);
    // The scroll bar or the wheel moved the rows to that position.
    void scrolledByOperator(std::int32_t position);

    // Hooks of a widget set that draws the tree.
    // Nodes were added or removed.
    virtual void nodesChanged() { }
    // Rows are about to be read or acted on: a view that shows them late catches up.
    virtual void rowsAboutToBeRead() { }
    // The operator opened or closed branches; the rows show it before the events tell of it.
    virtual void rowsChangedByOperator() { }
    virtual void scrollPositionChanged() { }
    virtual void backColorChanged() { }
    virtual void placeholderTextChanged() { }
    // Plays the operator action through the drawn view, which hands it back to the handlers; the
    // tree alone raises the events itself.
    virtual void playMouseMove();
    virtual void playKey(TreeKey key);

    void nodeLooksChanged(const StoredNode&) override { }
    void blinkPhaseChanged() override { }
    void nodeExpandedChanged(const StoredNode&) override { }
    void selectionChanged() override { }
    void scrollIntoView(const StoredNode& node) final;

private:
    [[nodiscard]] StoredNode* operatorTarget(const std::u16string& key);
    bool operatorSetsBranch(const std::u16string& key, Branch branch);
    [[nodiscard]] std::int32_t rowsPerPage() const;
    [[nodiscard]] std::int32_t clampedScroll(std::int32_t position) const;
    // Where a press on the node's row lies: its middle, clear of the rows beside it whatever the
    // pixel size rounds to.
    [[nodiscard]] double pressY(const StoredNode& node) const;

    NodeStore m_Store;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    mutable std::int32_t m_ScrollPosition = 0;
    std::u16string m_PlaceholderText;
};

} // namespace vestrak
