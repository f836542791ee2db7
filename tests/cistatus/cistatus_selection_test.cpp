#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

namespace {

// A picture is known by its header, not by its name: one will do under every name.
const std::string Picture("GIF89a\1\0\1\0\0\0\0", 13);

class CiStatusSelection : public CiStatusTest {
protected:
    CiStatusSelection()
    {
        connections += control->NodeClick.connect(
            [this] { events.push_back("click:" + ToUtf8(control->SelectedNode())); });
        connections += control->NodeDblClick.connect(
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
    Connections connections;
};

} // namespace

TEST_F(CiStatusSelection, ANodeClickSelectsTheObject)
{
    loadPlant();
    EXPECT_EQ(control->SelectedNode(), u"");
    tree().DblClick();
    EXPECT_TRUE(events.empty()) << "a double click without a selected node raises nothing";
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    EXPECT_EQ(text().text(), u"Line1\r\nLine2\r\n");
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"SelectedNode", u"FullPath"), u"Pump");
    EXPECT_EQ(events, (std::vector<std::string> { "click:Pump" }));

    ASSERT_TRUE(tree().operatorClick(u"Q/2"));
    EXPECT_EQ(text().text(), u"");
    ASSERT_TRUE(tree().operatorDoubleClick(u"P11/1"));
    EXPECT_EQ(events.back(), "double:Motor");
    EXPECT_EQ(settings.GetSetting(u"CiStatus", u"SelectedNode", u"FullPath"), u"Pump\\Motor");

    // Enter on a row highlighted from code names that row, as a double click on it would.
    events.clear();
    node(u"Q/2")->setSelected(true);
    ASSERT_TRUE(tree().operatorKey(TreeKey::Enter));
    EXPECT_EQ(events, (std::vector<std::string> { "click:Valve", "double:Valve" }));
    EXPECT_EQ(control->SelectedNodeCode(), u"Q");
    EXPECT_EQ(control->SelectedNodeTagName(), u"T3");
}

// The records keep their texts as UTF-8 whatever the file's encoding: every character and every
// length comes back, the section's too.
TEST_F(CiStatusSelection, TextsComeBackAsReadInEitherEncoding)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string code;
        std::u16string text;
    };
    // A tag name longer than a one-byte length.
    const std::string longTagName(300, 'T');
    const std::vector<Case> cases {
        { "UTF-8",
            "[TreeObjects]\r\nZ\xC3\xBCrich\xF0\x9F\x98\x80,X = 2," + longTagName
                + "\xC3\xA4\xE2\x82\xAC ,Pump\xC3\xA4\r\n[Z\xC3\xBCrich\xF0\x9F\x98\x80]\r\nInfo "
                  "\xC3\xBC\r\n",
            u"Zürich\U0001F600,X", u"Pumpä" },
        { "Windows-1252",
            "[TreeObjects]\r\nZ\xFCrich,X = 2," + longTagName
                + "\xE4\x80 ,P\xFCmp\r\n[Z\xFCrich]\r\nInfo \xFC\r\n",
            u"Zürich,X", u"Pümp" },
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        control->setObjectFile(files.write("Objects.ini", each.bytes));
        const NodeRef object = node(each.code + u"/0");
        ASSERT_TRUE(object);
        EXPECT_EQ(object->text(), each.text);
        EXPECT_EQ(control->ObjectTagName(), FromUtf8(longTagName) + u"ä€ ");
        EXPECT_EQ(control->ObjectTagName(), u"") << "the query cursor starts again";
        ASSERT_TRUE(tree().operatorClick(each.code + u"/0"));
        EXPECT_EQ(text().text(), u"Info ü\r\n");
        EXPECT_EQ(control->SelectedNodeCode(), each.code);
        EXPECT_EQ(control->SelectedNodeTagName(), FromUtf8(longTagName) + u"ä€ ");
    }
}

TEST_F(CiStatusSelection, PictureIsTheFirstOfBmpJpgGifTifBesideTheObjectFile)
{
    loadPlant();
    // Taken away one by one, best first: each time the next one shows.
    const std::vector<std::string> pictures { "P1.bmp", "P1.jpg", "P1.gif", "P1.tif" };
    for (const std::string& name : pictures) {
        files.write(name, Picture);
    }
    for (const std::string& name : pictures) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
        EXPECT_EQ(picture().picturePath(), files.path(name));
        EXPECT_EQ(control->PictureVisible(), -1);
        std::filesystem::remove(ToUtf8(files.path(name)));
    }

    files.askedFiles.clear();
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    EXPECT_EQ(files.askedFiles,
        (std::vector {
            files.path("P1.bmp"), files.path("P1.jpg"), files.path("P1.gif"), files.path("P1.tif") }));
    EXPECT_EQ(control->PictureVisible(), 0);
    EXPECT_EQ(picture().picturePath(), files.path("P1.tif")) << "the hidden box keeps its picture";

    files.write("P1.bmp", Picture);
    files.write("Q.bmp", "not a picture");
    ASSERT_TRUE(tree().operatorClick(u"P1,X/0"));
    ASSERT_TRUE(tree().operatorClick(u"Q/2"));
    EXPECT_EQ(picture().picturePath(), files.path("P1.bmp")) << "an unreadable picture leaves the former";
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

// The surface keeps the tree, which reads its texts from the records, but nothing answers it.
TEST_F(CiStatusTest, OperatorActionsAfterTheControlHasGoneReachNothing)
{
    load({ "A=2,T1,a" });
    Tree& orphan = tree();
    control.reset();
    EXPECT_EQ(orphan.find(u"A/0")->text(), u"a");
    EXPECT_TRUE(orphan.operatorClick(u"A/0"));
    EXPECT_TRUE(orphan.operatorExpand(u"A/0"));
    clock.advance(5000);
    EXPECT_TRUE(settings.entries(u"CiStatus").empty());
}
