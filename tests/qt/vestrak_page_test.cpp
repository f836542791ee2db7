#include "status_line.h"
#include "window_widget_set.h"

#include <QStatusBar>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vestrak;

TEST(VestrakPage, APageMessageStaysReadableWhileEventLinesComeAndGo)
{
    QStatusBar bar;
    std::int64_t now = 0;
    StatusLine status(bar, [&now] { return now; });
    status.showEventLine("t.NodeClick");
    EXPECT_TRUE(bar.currentMessage().endsWith("t.NodeClick"));
    status.showPageMessage("cannot read the object file plant.ini: there is no such file");
    now += StatusLine::PageMessageHoldMilliseconds - 1;
    status.showEventLine("s.GetStatus");
    EXPECT_TRUE(bar.currentMessage().endsWith("there is no such file"));
    now += 1;
    status.showEventLine("s.GetStatus");
    EXPECT_TRUE(bar.currentMessage().endsWith("s.GetStatus"));
}

TEST(VestrakPage, AControlThatShrinksItselfKeepsItsRoomSoItsNeighbourStays)
{
    QWidget area;
    WindowWidgetSet widgets(area);
    const std::unique_ptr<ControlSurface> tree = widgets.createSurface(4800, 3600, 0);
    const std::unique_ptr<ControlSurface> status = widgets.createSurface(6000, 3600, 0);
    auto* statusWidget = dynamic_cast<QWidget*>(status.get());
    const int statusLeft = statusWidget->x();
    tree->setOuterWidth(195);
    EXPECT_EQ(statusWidget->x(), statusLeft) << "a collapsing tree moves nothing beside it";
    widgets.resize(*tree, 2400, 3600, 0);
    EXPECT_LT(statusWidget->x(), statusLeft) << "the page's own size counts";
}
