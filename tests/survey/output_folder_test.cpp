// The survey's output folder: made with its parents when missing, refused with one line when it
// is a file or cannot be made, and left as it was (nothing created, no probe file) on refusal.
#include "survey/output_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace {

using test_support::ScratchFolder;
using test_support::WriteFileBytes;

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(OutputFolder, MissingFoldersAreMadeWithTheirParentsAndLeftEmpty) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("a\\b\\survey\\");
    OutputFolder folder;
    std::string error;
    ASSERT_EQ(PrepareOutputFolder(path, &folder, &error), S_OK) << error;
    EXPECT_TRUE(IsFolder(scratch.Path("a\\b\\survey")));
    EXPECT_EQ(folder.path, scratch.Path("a\\b\\survey"));
    EXPECT_EQ(OutputPath(folder, "survey.json"), scratch.Path("a\\b\\survey\\survey.json"));
    // The write test leaves nothing behind.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder.path + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    // A second run finds it there and uses it.
    EXPECT_EQ(PrepareOutputFolder(path, &folder, &error), S_OK) << error;
}

TEST(OutputFolder, AFileInThePlaceOfTheFolderIsRefusedAndKept) {
    ScratchFolder scratch;
    ASSERT_TRUE(WriteFileBytes(scratch.Path("report"), {'x'}));
    OutputFolder folder;
    std::string error;
    EXPECT_TRUE(FAILED(PrepareOutputFolder(scratch.Path("report"), &folder, &error)));
    EXPECT_EQ(error, "cannot write the report to '" + scratch.Path("report") + "': it is a file, not a folder");
    EXPECT_EQ(test_support::ReadFileBytes(scratch.Path("report")), std::vector<BYTE>{'x'});

    // Nor can a folder be made beneath a file.
    EXPECT_TRUE(FAILED(PrepareOutputFolder(scratch.Path("report\\survey"), &folder, &error)));
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"report"});
}

TEST(OutputFolder, AFolderThatCannotBeMadeLeavesNoneOfItsParentsBehind) {
    ScratchFolder scratch;
    // A name Windows refuses for a folder, below two that would be made first.
    const std::string path = scratch.Path("x\\y\\bad<name>");
    OutputFolder folder;
    std::string error;
    EXPECT_TRUE(FAILED(PrepareOutputFolder(path, &folder, &error)));
    EXPECT_EQ(error.compare(0, 24, "cannot create the folder"), 0) << error;
    EXPECT_TRUE(scratch.Names().empty());
}

}  // namespace
