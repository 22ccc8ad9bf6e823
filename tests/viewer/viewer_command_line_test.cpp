// The viewer's command line: --d3d9 FILE in both spellings, and a sentence for each kind of bad
// line, which the program shows before it starts.
#include "viewer/viewer_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace {

TEST(ViewerCommandLine, D3d9TakesAnExistingFileAndEverythingElseIsNamed) {
    test_support::ScratchFolder scratch;
    const std::string dll = scratch.Path("d3d9.dll");
    ASSERT_TRUE(test_support::WriteFileBytes(dll, {'M', 'Z'}));
    const std::string missing = scratch.Path("none.dll");
    const struct {
        std::vector<std::string> arguments;
        std::string library;
        std::string error;
    } cases[] = {
        {{}, "", ""},
        {{"--d3d9", dll}, dll, ""},
        {{"--d3d9=" + missing, "--d3d9=" + dll}, dll, ""},
        {{"--d3d9"}, "", "The option --d3d9 needs a d3d9.dll file."},
        {{"--d3d9="}, "", "The option --d3d9 needs a d3d9.dll file."},
        {{"--d3d9", dll, "--d3d8=x"}, "", "Unknown option '--d3d8'."},
        {{"/?"}, "", "Unknown option '/?'."},
        {{dll}, "", "Unexpected argument '" + dll + "'."},
        {{"--d3d9", scratch.Path("")}, "",
         "The Direct3D 9 implementation '" + scratch.Path("") + "' cannot be loaded: it is a folder, not a d3d9.dll."},
    };
    for (const auto& c : cases) {
        const ViewerCommandLine line = ParseViewerCommandLine(c.arguments);
        EXPECT_EQ(line.direct3dLibrary, c.library) << c.error;
        EXPECT_EQ(line.error, c.error);
    }
    const ViewerCommandLine absent = ParseViewerCommandLine({"--d3d9", missing});
    EXPECT_EQ(absent.error.find("The Direct3D 9 implementation '" + missing + "' cannot be loaded: "), 0u) << absent.error;
    EXPECT_NE(std::string(ViewerUsage()).find("WINEDLLOVERRIDES=d3d9=n,b"), std::string::npos);
}

}  // namespace
