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

} // namespace
} // namespace vestrak::testing
