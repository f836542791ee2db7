#include "qt_widgets/tab_order.h"

#include <QWidget>
#include <algorithm>

namespace vestrak {

namespace {

bool middleWithin(const QRect& one, const QRect& other)
{
    return one.center().y() >= other.top() && one.center().y() <= other.bottom();
}

// Side by side: the middle of one level with the other, and each centre short of the other's left
// edge. Edges that touch or overlap by a few pixels are no reason to read one after the other.
bool besideOneAnother(const QRect& one, const QRect& other)
{
    const bool level = middleWithin(one, other) || middleWithin(other, one);
    return level && (one.center().x() < other.left() || other.center().x() < one.left());
}

bool readBefore(const QRect& one, const QRect& other)
{
    if (besideOneAnother(one, other))
        return one.left() < other.left();
    return one.top() != other.top() ? one.top() < other.top() : one.left() < other.left();
}

// A widget is read next when no other widget left is read before it; the rule needs no order
// among widgets that are neither beside nor above one another, so no sort is used.
std::vector<QWidget*> inReadingOrder(std::vector<QWidget*> left)
{
    std::vector<QWidget*> ordered;
    while (!left.empty()) {
        auto next = std::find_if(left.begin(), left.end(), [&left](const QWidget* candidate) {
            return std::none_of(left.begin(), left.end(), [candidate](const QWidget* other) {
                return other != candidate && readBefore(other->geometry(), candidate->geometry());
            });
        });
        if (next == left.end()) {
            next = std::min_element(left.begin(), left.end(), [](const QWidget* one, const QWidget* other) {
                return one->geometry().top() < other->geometry().top();
            });
        }
        ordered.push_back(*next);
        left.erase(next);
    }
    return ordered;
}

bool shownIn(const QWidget* widget)
{
    return widget && widget->isVisibleTo(widget->parentWidget());
}

// The widget itself when Tab stops at it, else the tab stops among its children (the buttons of
// a toolbar), in reading order.
void appendTabStops(QWidget& widget, std::vector<QWidget*>& stops)
{
    if ((widget.focusPolicy() & Qt::TabFocus) != 0) {
        stops.push_back(&widget);
        return;
    }
    std::vector<QWidget*> children;
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (shownIn(child))
            children.push_back(child);
    }
    const std::vector<QWidget*> ordered = inReadingOrder(std::move(children));
    for (QWidget* child : ordered)
        appendTabStops(*child, stops);
}

} // namespace

void chainTabStopsInReadingOrder(const std::vector<QWidget*>& widgets)
{
    std::vector<QWidget*> shown;
    std::copy_if(widgets.begin(), widgets.end(), std::back_inserter(shown), shownIn);
    std::vector<QWidget*> stops;
    const std::vector<QWidget*> ordered = inReadingOrder(std::move(shown));
    for (QWidget* widget : ordered)
        appendTabStops(*widget, stops);
    for (std::size_t stop = 1; stop < stops.size(); ++stop)
        QWidget::setTabOrder(stops[stop - 1], stops[stop]);
}

} // namespace vestrak
