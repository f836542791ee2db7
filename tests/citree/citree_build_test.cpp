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
