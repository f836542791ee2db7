#pragma once

#include "ports/tree.h"
#include "widgets/node_store.h"
#include "qt_widgets/node_store_model.h"
#include "qt_widgets/qt_widget.h"

#include <vector>

namespace vestrak {

class QtTreeView;

// The tree port on a QTreeView over the node store. Node order, selection and scroll position
// are the store's: Qt shows them, and what the operator does on the view comes back through one
// set of handlers that the operator actions use too.
//
// Nodes added or removed reach the view together, in one reset of its model, before anything
// shows, reads or acts on it and at the next turn of the event loop: Qt would lay out rows for
// each node told alone.
class QtTree final : public QtWidget<Tree>, private NodeStoreObserver {
public:
    QtTree(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QtTreeView& view,
        ImageList images);
    ~QtTree() override;

    void setVisible(bool visible) override;
    [[nodiscard]] ImageList imageList() const override { return m_Store.imageList(); }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image) override;
    NodeRef addLent(const NodeRef& relative, NodeRelationship relationship,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference,
        std::int32_t image) override;
    bool remove(const NodeRef& node) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override { return m_Store.count(); }
    [[nodiscard]] NodeRef node(std::int32_t index) const override { return m_Store.node(index); }
    [[nodiscard]] NodeRef find(const std::u16string& key) const override { return m_Store.find(key); }
    [[nodiscard]] NodeRef selectedNode() const override { return m_Store.selectedNode(); }
    [[nodiscard]] NodeRef hitTest(double x, double y) const override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    void setBackColor(std::uint32_t color) override;
    void setBlinkPhase(BlinkPhase phase) override { m_Store.setBlinkPhase(phase); }
    [[nodiscard]] std::int32_t scrollPosition() const override;
    void setScrollPosition(std::int32_t position) override;
    [[nodiscard]] std::u16string placeholderText() const override;
    void setPlaceholderText(const std::u16string& text) override;

    bool operatorClick(const std::u16string& key) override;
    bool operatorRightClick(const std::u16string& key) override;
    bool operatorDoubleClick(const std::u16string& key) override;
    bool operatorExpand(const std::u16string& key) override;
    bool operatorCollapse(const std::u16string& key) override;
    bool operatorMouseMove() override;
    bool operatorScroll(std::int32_t position) override;
    bool operatorKey(TreeKey key) override;

    [[nodiscard]] QtTreeView& view() const { return m_View; }
    [[nodiscard]] const NodeStoreModel& model() const { return m_Model; }

private:
    // How a shown row looked when it was last painted.
    struct ShownLook {
        const StoredNode* node = nullptr;
        std::int32_t image = 0;
        std::uint32_t backColor = 0;
        // Where the node is shown; a row looks the same wherever it is.
        int row = 0;
        bool operator==(const ShownLook& other) const
        {
            return node == other.node && image == other.image && backColor == other.backColor;
        }
    };

    void nodeLooksChanged(const StoredNode& node) override;
    void blinkPhaseChanged() override;
    void askShownLooksCheck();
    void nodeExpandedChanged(const StoredNode& node) override;
    void selectionChanged() override;
    void scrollIntoView(const StoredNode& node) override;

    [[nodiscard]] std::vector<ShownLook> shownLooks() const;
    void tellShownLooks();
    void notePaintedLooks(const QRect& part);
    void viewFallsBehind();
    void bringViewUpToDate();
    void showRowsNow();
    void showSelection();
    void showScrollPosition();
    [[nodiscard]] StoredNode* operatorTarget(const std::u16string& key);
    [[nodiscard]] std::int32_t rowsPerPage() const;
    [[nodiscard]] std::int32_t clampedScroll(std::int32_t position) const;
    [[nodiscard]] double rowTop(const StoredNode& node) const;

    void pressed(StoredNode* node, std::int16_t button, std::int16_t shift, double x, double y);
    void keyboardMovedTo(StoredNode& node);
    void activatedByKeyboard(StoredNode& node);
    void menuRequestedByKeyboard();
    void expandedByOperator(StoredNode& node, bool expanded);
    void expandedBelowByOperator(StoredNode& top);
    void connectView();

    QtTreeView& m_View;
    NodeStore m_Store;
    NodeStoreModel m_Model;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    mutable std::int32_t m_ScrollPosition = 0;
    bool m_ShowingScroll = false;
    // Nodes were added or removed since the view's model was last reset.
    bool m_ViewBehind = false;

    // Looks change many at a time (a status load over every record): the view is told once they
    // have changed, and only of the shown rows that look different from their last paint.
    bool m_ShownLooksCheckAsked = false;
    std::vector<ShownLook> m_PaintedLooks;
};

} // namespace vestrak
