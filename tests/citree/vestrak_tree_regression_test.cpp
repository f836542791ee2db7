// Object files that once made the vestrak-tree report misbehave.
#include "linux/local_file_system.h"
#include "linux/temporary_folder.h"
#include "procs/encoding.h"
#include "tree_report.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vestrak::testing {
namespace {

// The search for the branch a top node was meant for once tried every prefix of the node's code,
// so a code of a million characters took hours; it finishes at once and still finds the branch.
TEST(TreeReportRegression, TopNodesWithAMillionCharacterCode)
{
    TemporaryFolder folder;
    const std::string longCode(1'000'000, 'P');
    std::ofstream(folder.path() / "objects.ini", std::ios::binary) << "[TreeObjects]\nQ=1,Other\n"
                                                                   << longCode << "=5,Long\nR=1,Rest\n"
                                                                   << longCode << "X=4,Stray\n";
    TreeReportOptions options;
    options.file = FromUtf8((folder.path() / "objects.ini").string());
    LocalFileSystem files;

    const TreeReport report = MakeTreeReport(options, files);

    EXPECT_TRUE(report.text.starts_with("Q/0  Other  (image 1)\n" + longCode + "/1  Long  (image 5)\n"));
    EXPECT_TRUE(report.text.ends_with("warning: line 5: \"" + longCode
        + "X\" becomes a top node although its code extends \"" + longCode + "\" (line 3)\n"));
}

} // namespace
} // namespace vestrak::testing
