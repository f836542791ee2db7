#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

namespace vestrak {

bool operator==(const Geometry& left, const Geometry& right)
{
    return left.left == right.left && left.top == right.top && left.width == right.width
        && left.height == right.height;
}

void PrintTo(const Geometry& value, std::ostream* out)
{
    *out << value.left << ", " << value.top << ", " << value.width << " x " << value.height;
}

} // namespace vestrak

namespace {

Geometry GeometryOf(const Widget& widget)
{
    return { widget.left(), widget.top(), widget.width(), widget.height() };
}

} // namespace

TEST_F(CiStatusTest, TreeAndTextSpanTheWidthBesideAVisiblePicture)
{
    EXPECT_EQ(control->PictureVisible(), 0);
    EXPECT_EQ(control->PictureWidth(), 161);
    EXPECT_EQ(GeometryOf(widget(u"TreeView_Status")), (Geometry { 0, 0, 4800, 2775 }));
    EXPECT_EQ(GeometryOf(widget(u"Text_Info")), (Geometry { 0, 2775, 4800, 825 }));
    EXPECT_EQ(widget(u"Picture_Object").left(), 4800);

    control->setPictureVisible(1);
    EXPECT_EQ(control->PictureVisible(), -1);
    EXPECT_EQ(GeometryOf(widget(u"TreeView_Status")), (Geometry { 0, 0, 2385, 2775 }));
    EXPECT_EQ(GeometryOf(widget(u"Text_Info")), (Geometry { 0, 2775, 2385, 825 }));
    EXPECT_EQ(GeometryOf(widget(u"Picture_Object")), (Geometry { 2385, 0, 2415, 3600 }));

    control->setPictureWidth(100);
    EXPECT_EQ(widget(u"TreeView_Status").width(), 3300);
    surface->resize(6000, 4000, 0);
    control->UserControl_Resize();
    EXPECT_EQ(GeometryOf(widget(u"Picture_Object")), (Geometry { 4500, 0, 1500, 4000 }));
}

TEST_F(CiStatusTest, TextHeightTakesEffectAtTheNextLayout)
{
    control->setTextHeight(200);
    EXPECT_EQ(widget(u"Text_Info").height(), 3000);
    EXPECT_EQ(control->TextHeight(), 200);
    EXPECT_EQ(widget(u"TreeView_Status").height(), 2775);
    load({ "A=2,T1,a" });
    EXPECT_EQ(widget(u"TreeView_Status").height(), 600);
    EXPECT_EQ(widget(u"Text_Info").top(), 600);
}

TEST_F(CiStatusTest, OperatorActionsAfterTheControlHasGoneReachNothing)
{
    load({ "A=2,T1,a" });
    Tree& orphan = tree();
    control.reset();
    EXPECT_TRUE(orphan.operatorClick(u"A/0"));
    EXPECT_TRUE(orphan.operatorExpand(u"A/0"));
    clock.advance(5000);
    EXPECT_TRUE(settings.entries(u"CiStatus").empty());
}
