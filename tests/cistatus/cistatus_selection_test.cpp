#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

namespace {

using namespace std::string_literals;

const std::string BmpBytes = "BM\x3a\0\0\0"s;
const std::string JpgBytes = "\xff\xd8\xff\xe0"s;
const std::string GifBytes = "GIF89a"s;
const std::string TifBytes = "II*\0"s;

class CiStatusSelection : public CiStatusTest {
protected:
    CiStatusSelection()
    {
        control->NodeClick.connect([this] { events.push_back("click:" + ToUtf8(control->SelectedNode())); });
        control->NodeDblClick.connect(
            [this] { events.push_back("double:" + ToUtf8(control->SelectedNode())); });
    }

    void loadPlant()
    {
        load({ "P1,X = 2,T1,Pump", "P11 = 2,T2,Motor", "Q = 2,T3,Valve" },
            "[P1]\r\nLine1\r\n  Line2\r\n[Q]\r\n");
    }

    [[nodiscard]] TextBox& text() const { return static_cast<TextBox&>(widget(u"Text_Info")); }
    [[nodiscard]] PictureBox& picture() const { return static_cast<PictureBox&>(widget(u"Picture_Object")); }

    std::vector<std::string> events;
};

} // namespace

TEST_F(CiStatusSelection, NodeClickShowsTheSectionTextStoresThePathAndRaisesNodeClick)
{
    loadPlant();
    EXPECT_EQ(control->SelectedNode(), u"");
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    EXPECT_EQ(text().text(), u"Line1\r\nLine2\r\n");
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"SelectedNode", u"FullPath"), u"Pump");
    EXPECT_EQ(events, (std::vector<std::string> { "click:Pump" }));

    ASSERT_TRUE(tree().operatorClick(u"Q/2"));
    EXPECT_EQ(text().text(), u"");
    ASSERT_TRUE(tree().operatorDoubleClick(u"P11/1"));
    EXPECT_EQ(events.back(), "double:Motor");
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"SelectedNode", u"FullPath"), u"Pump\\Motor");
}

TEST_F(CiStatusSelection, PictureIsTheFirstOfBmpJpgGifTifBesideTheObjectFile)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> files;
        std::string shown;
    };
    const std::vector<Case> cases {
        { { { "P1.tif", TifBytes }, { "P1.gif", GifBytes }, { "P1.jpg", JpgBytes }, { "P1.bmp", BmpBytes } },
            "P1.bmp" },
        { { { "P1.tif", TifBytes }, { "P1.gif", GifBytes }, { "P1.jpg", JpgBytes } }, "P1.jpg" },
        { { { "P1.tif", TifBytes }, { "P1.gif", GifBytes } }, "P1.gif" },
        { { { "P1.tif", TifBytes } }, "P1.tif" },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.shown);
        for (const auto& [name, bytes] : each.files) {
            files.write(name, bytes);
        }
        loadPlant();
        ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
        EXPECT_EQ(picture().picturePath(), files.path(each.shown));
        EXPECT_EQ(control->PictureVisible(), -1);
        std::filesystem::remove(ToUtf8(files.path(each.shown)));
    }

    files.askedFiles.clear();
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    EXPECT_EQ(files.askedFiles,
        (std::vector {
            files.path("P1.bmp"), files.path("P1.jpg"), files.path("P1.gif"), files.path("P1.tif") }));
    EXPECT_EQ(control->PictureVisible(), 0);
    EXPECT_EQ(picture().picturePath(), files.path("P1.tif")) << "the hidden box keeps its picture";
}

TEST_F(CiStatusSelection, UnreadablePictureLeavesTheFormerOneShown)
{
    files.write("P1.bmp", BmpBytes);
    files.write("Q.bmp", "not a picture");
    loadPlant();
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    ASSERT_TRUE(tree().operatorClick(u"Q/2"));
    EXPECT_EQ(picture().picturePath(), files.path("P1.bmp"));
    EXPECT_EQ(control->PictureVisible(), -1);
}

TEST_F(CiStatusSelection, PictureFolderAlsoEndsAtABackslash)
{
    control->setObjectFile(files.write("Plant\\Objects.ini", "[TreeObjects]\r\nP1=2,T1,Pump\r\n"));
    files.askedFiles.clear();
    ASSERT_TRUE(tree().operatorClick(u"P1/0"));
    ASSERT_FALSE(files.askedFiles.empty());
    EXPECT_EQ(files.askedFiles.front(), files.path("Plant\\P1.bmp"));
}

TEST_F(CiStatusSelection, OpenBranchesAndSelectionComeBackAfterRecreateWithoutNodeClick)
{
    loadPlant();
    ASSERT_TRUE(tree().operatorExpand(u"P1,X/0"));
    ASSERT_TRUE(tree().operatorExpand(u"Q/2"));
    ASSERT_TRUE(tree().operatorCollapse(u"Q/2"));
    ASSERT_TRUE(tree().operatorClick(u"P11/1"));
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"ExpandedNodes", u"Pump"), u"1");
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"ExpandedNodes", u"Valve", u"gone"), u"gone");

    settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Valve", u"-1");
    recreate();
    events.clear();
    control->NodeClick.connect([this] { events.emplace_back("click"); });
    loadPlant();
    EXPECT_TRUE(node(u"P1,X/0")->expanded());
    EXPECT_FALSE(node(u"Q/2")->expanded()) << "only \"1\" opens a branch";
    EXPECT_EQ(tree().selectedNode(), node(u"P11/1"));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(control->SelectedNode(), u"") << "a restored selection is no click";
    EXPECT_EQ(settings.entries(u"CiStatus").size(), 3u) << "the load stores nothing";

    ASSERT_TRUE(tree().operatorDoubleClick(u"Q/2"));
    settings.SaveSetting(u"CiStatus", u"SelectedNode", u"FullPath", u"Nowhere");
    loadPlant();
    EXPECT_EQ(tree().selectedNode(), nullptr);
}

TEST_F(CiStatusSelection, NodesSharingAPathShareEntriesAndTheLastIsSelected)
{
    load({ "A=2,T1,Pump", "B=2,T2,Pump" });
    ASSERT_TRUE(tree().operatorClick(u"A/0"));
    load({ "A=2,T1,Pump", "B=2,T2,Pump" });
    EXPECT_EQ(tree().selectedNode(), node(u"B/1"));
}

TEST_F(CiStatusSelection, DoubleClickWithoutSelectedNodeRaisesNothing)
{
    loadPlant();
    tree().DblClick();
    EXPECT_TRUE(events.empty());
}

TEST_F(CiStatusSelection, ExamplePlantHasAPictureInEveryFormat)
{
    control->setObjectFile(FromUtf8(VESTRAK_SOURCE_DIR "/examples/plant/status.ini"));
    ASSERT_EQ(shape().substr(0, 14), "WW/0(WW1/1(WW1");
    for (const auto& [key, fileName] :
        std::vector<std::pair<std::u16string, std::string>> { { u"WW111/3", "WW111.bmp" },
            { u"WW121/7", "WW121.jpg" }, { u"WW21,WW22/10", "WW21.gif" }, { u"WW311/19", "WW311.tif" } }) {
        ASSERT_TRUE(tree().operatorClick(key)) << ToUtf8(key);
        EXPECT_EQ(ToUtf8(picture().picturePath()), VESTRAK_SOURCE_DIR "/examples/plant/" + fileName);
        EXPECT_EQ(control->PictureVisible(), -1);
    }
    EXPECT_EQ(text().text(), u"High lift pump 1, 110 kW.\r\nRuns with pump 2 in duty and standby.\r\n");
}
