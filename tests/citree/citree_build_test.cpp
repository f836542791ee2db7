#include "citree_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

using Build = CiTreeTest;

TEST_F(Build, ExampleSectionGivesKeysParentsTextsAndImages)
{
    build(ExampleSection, ShownTree);
    EXPECT_THAT(nodes(),
        ElementsAre("P/0 - Plant 1", "P1/1 P/0 Area 1 1", "P11/2 P1/1 Pump 1 5", "P12/3 P1/1 Pump 2 5",
            "P2/4 P/0 Area 2 1", "Q/5 - Utilities 1", "P21/6 - Valve 5"));
    EXPECT_EQ(Utf8(control->ObjectFileSection()), "TreeObjects");

    build("[TreeObjects]\nP1=1,One\nP10=5,Ten\nA,B=1,Both\nB7=5,Bee\n", ShownTree);
    EXPECT_THAT(
        nodes(), ElementsAre("P1/0 - One 1", "P10/1 P1/0 Ten 5", "A,B/2 - Both 1", "B7/3 A,B/2 Bee 5"));
}

TEST_F(Build, RootsInTreeAndListMode)
{
    build(ExampleSection, ShownTree, u"P1,Q");
    EXPECT_THAT(nodes(),
        ElementsAre("P1/1 - Area 1 1", "P11/2 P1/1 Pump 1 5", "P12/3 P1/1 Pump 2 5", "Q/5 - Utilities 1"));
    build(ExampleSection, ShownTree, u"p");
    EXPECT_THAT(nodeKeys(), ElementsAre("P/0", "P1/1", "P11/2", "P12/3", "P2/4", "P21/6"));
    // The list transcript shows the list below a root.
    build(ExampleSection, ShownList, u"P1,Q");
    EXPECT_THAT(listTexts(), ElementsAre("Pump 1", "Pump 2", "Utilities"));
}

TEST_F(Build, PreselectionByCodeAndByExtraInfo)
{
    control->setSelectedObject(u"p11,any");
    build(ExampleSection, ShownTree);
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), "P11/2");
    EXPECT_TRUE(tree().find(u"P1/1")->expanded());

    control->setSelectedObject(u"");
    control->setSelectedObjectExtraInfo(u"north");
    build(ExampleSection, ShownTree);
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), "P1/1");

    control->setSelectedObjectExtraInfo(u"Q");
    build(ExampleSection, ShownTree);
    EXPECT_FALSE(tree().selectedNode());

    // A set SelectedObject compares its first comma field even when that field is empty.
    control->setSelectedObjectExtraInfo(u"");
    control->setSelectedObject(u",zz");
    build("[TreeObjects]\nA=1,Plant\n,B=5,Unnamed\n", ShownTree);
    ASSERT_TRUE(tree().selectedNode());
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), ",B/1");
}

// Kept branches and the last clicked node are found by full path, which the build follows down
// and back up the tree; texts repeat, so several nodes share a path.
TEST_F(Build, KeptBranchesAndTheLastClickedNodeAreFoundByFullPathAtEveryDepth)
{
    saveSetting(u"OpenNodes", u"Top", u"1");
    saveSetting(u"OpenNodes", u"Top\\Mid\\Leaf", u"1");
    saveSetting(u"OpenNodes", u"Top\\Mid", u"0");
    saveSetting(u"Selected", u"NodeName", u"Top\\Mid");
    build("[TreeObjects]\nA=1,Top\nA1=1,Mid\nA11=1,Leaf\nA2=1,Mid\nA21=1,Leaf\nB=1,Top\n",
        ShownTree | StyleKeepOpenNodes);

    std::vector<std::string> expanded;
    for (std::int32_t index = 1; index <= tree().count(); ++index) {
        if (tree().node(index)->expanded()) {
            expanded.push_back(Utf8(tree().node(index)->key()));
        }
    }
    // Of the two nodes with the last clicked path only the first opens.
    EXPECT_EQ(expanded, (std::vector<std::string> { "A/0", "A1/1", "A11/2", "A21/4", "B/5" }));
}

} // namespace
} // namespace vestrak::testing
