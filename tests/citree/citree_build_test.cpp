#include "citree_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

using Build = CiTreeTest;

// The navigation transcript shows the example section's tree, its roots and the preselection;
// beyond it: a code below a code it extends, and below one of a code's comma fields.
TEST_F(Build, CodesNestBelowTheCodeOrTheCommaFieldTheyExtend)
{
    build("[TreeObjects]\nP1=1,One\nP10=5,Ten\nA,B=1,Both\nB7=5,Bee\n", ShownTree);
    EXPECT_THAT(
        nodes(), ElementsAre("P1/0 - One 1", "P10/1 P1/0 Ten 5", "A,B/2 - Both 1", "B7/3 A,B/2 Bee 5"));
    // A file changed since the last build is read again.
    files.write("objects.ini", "[TreeObjects]\nP2=1,Two\nP20=5,Ten\nA,B=1,Both\nB7=5,Bee\n");
    control->setStyle(ShownTree);
    EXPECT_EQ(nodes()[0], "P2/0 - Two 1");
    // A file found not to be UTF-8 after its first line is built again from its first line.
    build("[TreeObjects]\nP1=1,caf\xC3\xA9\nP10=5,d\xE9j\xE0\n", ShownTree | StyleKeepOpenNodes);
    EXPECT_THAT(nodes(), ElementsAre("P1/0 - caf\xC3\x83\xC2\xA9 1", "P10/1 P1/0 d\xC3\xA9j\xC3\xA0 5"));
}

// Forty areas stored open, one pump too, and another pump preselected below them: that pump is
// scrolled to with every stored branch above it already open.
TEST_F(Build, StoredOpenBranchesAreOpenBeforeThePreselectedNodeIsScrolledTo)
{
    std::string section = "[TreeObjects]\n";
    for (int area = 10; area < 50; ++area) {
        const std::string number = std::to_string(area);
        section += "A" + number + "=1,Area " + number + "\nA" + number + "P=5,Pump\n";
        saveSetting(OpenNodesSection, u"Area " + FromUtf8(number), u"1");
    }
    saveSetting(OpenNodesSection, u"Area 12\\Pump", u"1");
    control->setSelectedObject(u"A47P");
    build(section, ShownTree | StyleKeepOpenNodes);

    for (std::int32_t index = 1; index <= tree().count(); ++index) {
        const NodeRef node = tree().node(index);
        SCOPED_TRACE(ToUtf8(node->fullPath()));
        EXPECT_EQ(node->expanded(),
            node->children() > 0 || node->fullPath() == u"Area 12\\Pump"
                || node->fullPath() == u"Area 47\\Pump");
    }
    const NodeRef selected = tree().selectedNode();
    ASSERT_TRUE(selected);
    EXPECT_EQ(ToUtf8(selected->fullPath()), "Area 47\\Pump");
    bool shown = false;
    for (double y = 0; y < Height && !shown; y += 15) {
        const NodeRef hit = tree().hitTest(100, y);
        shown = hit && hit->key() == selected->key();
    }
    EXPECT_TRUE(shown) << "scrolled to row " << tree().scrollPosition();
}

} // namespace
} // namespace vestrak::testing
