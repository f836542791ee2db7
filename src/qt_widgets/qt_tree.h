#pragma once

#include "qt_widgets/node_store_model.h"
#include "qt_widgets/qt_widget.h"
#include "widgets/tree_state.h"

#include <QRegion>
#include <vector>

namespace vestrak {

class QtTreeView;

// The tree state drawn by a QTreeView over its node store. Node order, selection and scroll
// position are the state's: Qt shows them, and what the operator does on the view goes to the
// state's handlers, which the operator actions use too.
//
// Nodes added or removed reach the view together, in one reset of its model, before anything
// shows, reads or acts on it and at the next turn of the event loop: Qt would lay out rows for
// each node told alone.
class QtTree final : public QtWidget<TreeState> {
public:
    QtTree(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QtTreeView& view,
        ImageList images);
    ~QtTree() override;

    void setVisible(bool visible) override;
    void clear() override;

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

    void nodesChanged() override { viewFallsBehind(); }
    void rowsAboutToBeRead() override { bringViewUpToDate(); }
    void rowsChangedByOperator() override;
    void scrollPositionChanged() override { showScrollPosition(); }
    void backColorChanged() override;
    void placeholderTextChanged() override;
    void playMouseMove() override;
    void playKey(TreeKey key) override;
    void nodeLooksChanged(const StoredNode& node) override;
    void blinkPhaseChanged() override;
    void askShownLooksCheck();
    void nodeExpandedChanged(const StoredNode& node) override;
    void selectionChanged() override;

    [[nodiscard]] std::vector<ShownLook> shownLooks() const;
    void tellShownLooks();
    void notePaintedLooks(const QRegion& part);
    void viewFallsBehind();
    void bringViewUpToDate();
    void showSelection();
    void showScrollPosition();
    void menuRequestedByKeyboard();
    void connectView();

    QtTreeView& m_View;
    NodeStoreModel m_Model;
    bool m_ShowingScroll = false;
    // Nodes were added or removed since the view's model was last reset.
    bool m_ViewBehind = false;

    // Looks change many at a time (a status load over every record): the view is told once they
    // have changed, and only of the shown rows that look different from their last paint.
    bool m_ShownLooksCheckAsked = false;
    std::vector<ShownLook> m_PaintedLooks;
};

} // namespace vestrak
