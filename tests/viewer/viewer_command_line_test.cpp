// The viewer's command line: --d3d9 FILE in both spellings, and a sentence for each kind of bad
// line, which the program shows before it starts.
#include "viewer/viewer_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace {

TEST(ViewerCommandLine, D3d9TakesAFileThatIsThereAndEverythingElseIsNamed) {
    test_support::ScratchFolder scratch;
    const std::string dll = scratch.Path("d3d9.dll");
    ASSERT_TRUE(test_support::WriteFileBytes(dll, {'M', 'Z'}));
    const struct {
        std::vector<std::string> arguments;
        std::string library;
        std::string error;
    } cases[] = {
        {{}, "", ""},
        {{"--d3d9", "x.dll", "--d3d9=" + dll}, dll, ""},
        {{"--d3d9"}, "", "The option --d3d9 needs a d3d9.dll file."},
        {{"--d3d9", dll, "--d3d8=x"}, "", "Unknown option '--d3d8'."},
        {{dll}, "", "Unexpected argument '" + dll + "'."},
        {{"--d3d9", scratch.Path("")}, "",
         "The Direct3D 9 implementation '" + scratch.Path("") + "' cannot be loaded: it is a folder, not a d3d9.dll."},
    };
    for (const auto& c : cases) {
        const ViewerCommandLine line = ParseViewerCommandLine(c.arguments);
        EXPECT_EQ(line.direct3dLibrary + "|" + line.error, c.library + "|" + c.error);
    }
}

}  // namespace
