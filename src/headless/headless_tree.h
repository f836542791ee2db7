#pragma once

#include "headless/headless_widget.h"
#include "ports/tree.h"
#include "widgets/node_store.h"

namespace vestrak {

// An in-memory tree view with rows of 18 pixels that scrolls by rows: the node store and the
// scroll position.
class HeadlessTree final : public HeadlessWidget<Tree>, private NodeStoreObserver {
public:
    HeadlessTree(std::u16string name, const Geometry& design, bool visible, WidgetHost& host,
        ImageList images, double twipsPerPixelY);

    [[nodiscard]] ImageList imageList() const override { return m_Store.imageList(); }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image) override;
    NodeRef addLent(const NodeRef& relative, NodeRelationship relationship,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference,
        std::int32_t image) override;
    bool remove(const NodeRef& node) override { return m_Store.remove(node); }
    void clear() override;
    [[nodiscard]] std::int32_t count() const override { return m_Store.count(); }
    [[nodiscard]] NodeRef node(std::int32_t index) const override { return m_Store.node(index); }
    [[nodiscard]] NodeRef find(const std::u16string& key) const override { return m_Store.find(key); }
    [[nodiscard]] NodeRef selectedNode() const override { return m_Store.selectedNode(); }
    [[nodiscard]] NodeRef hitTest(double x, double y) const override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    void setBackColor(std::uint32_t color) override { m_BackColor = color; }
    void setBlinkPhase(BlinkPhase phase) override { m_Store.setBlinkPhase(phase); }
    [[nodiscard]] std::int32_t scrollPosition() const override;
    void setScrollPosition(std::int32_t position) override;
    [[nodiscard]] std::u16string placeholderText() const override { return m_PlaceholderText; }
    void setPlaceholderText(const std::u16string& text) override { m_PlaceholderText = text; }

    bool operatorClick(const std::u16string& key) override;
    bool operatorRightClick(const std::u16string& key) override;
    bool operatorDoubleClick(const std::u16string& key) override;
    bool operatorExpand(const std::u16string& key) override;
    bool operatorCollapse(const std::u16string& key) override;
    bool operatorMouseMove() override;
    bool operatorScroll(std::int32_t position) override;
    bool operatorKey(TreeKey key) override;

private:
    void nodeLooksChanged(const StoredNode&) override { }
    void blinkPhaseChanged() override { }
    void nodeExpandedChanged(const StoredNode&) override { }
    void selectionChanged() override { }
    void scrollIntoView(const StoredNode& node) override;

    [[nodiscard]] StoredNode* operatorTarget(const std::u16string& key) const;
    void selectedByKeyboard(StoredNode& node);
    [[nodiscard]] std::int32_t rowsPerPage() const;
    [[nodiscard]] std::int32_t clampedScroll(std::int32_t position) const;
    [[nodiscard]] double rowTop(const StoredNode& node) const;

    double m_TwipsPerPixelY;
    NodeStore m_Store;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    mutable std::int32_t m_ScrollPosition = 0;
    std::u16string m_PlaceholderText;
};

} // namespace vestrak
