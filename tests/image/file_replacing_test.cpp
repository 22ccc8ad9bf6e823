// Replacing a file only once its new contents are complete: the target holds either the old or
// the whole new contents, and no temporary file is left either way.
#include "image/file_replacing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace {

using test_support::ReadFileBytes;
using test_support::ScratchFolder;
using test_support::WriteFileBytes;

std::string ReadText(const std::string& path) {
    const std::vector<BYTE> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Writes half of its text, then fails as a full disk would.
HRESULT WriteHalfThenFail(HANDLE file, void* context) {
    const std::string& text = *static_cast<const std::string*>(context);
    const HRESULT result = WriteAllToFile(file, text.data(), text.size() / 2);
    return FAILED(result) ? result : HRESULT_FROM_WIN32(ERROR_DISK_FULL);
}

TEST(FileReplacing, WritesTheExactBytesAndReplacesAnOlderFile) {
    ScratchFolder folder;
    const std::string path = folder.Path("result.json");
    ASSERT_TRUE(WriteFileBytes(path, std::vector<BYTE>(5000, 'x')));
    const std::string text = std::string("{\"a\": 1}\r\n\0tail", 15);
    EXPECT_EQ(WriteFileReplacing(path.c_str(), text), S_OK);
    EXPECT_EQ(ReadText(path), text);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"result.json"});

    // Empty contents make an empty file, not a failure.
    EXPECT_EQ(WriteFileReplacing(path.c_str(), std::string()), S_OK);
    EXPECT_TRUE(ReadFileBytes(path).empty());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"result.json"});
}

TEST(FileReplacing, FailedWriteKeepsTheOldFileAndItsCodeAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::string path = folder.Path("kept.json");
    ASSERT_TRUE(WriteFileBytes(path, {'o', 'l', 'd'}));
    std::string text(1000, 'n');
    EXPECT_EQ(WriteFileReplacing(path.c_str(), WriteHalfThenFail, &text),
              HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    EXPECT_EQ(ReadText(path), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.json"});

    // No target yet: none appears.
    const std::string fresh = folder.Path("fresh.json");
    EXPECT_TRUE(FAILED(WriteFileReplacing(fresh.c_str(), WriteHalfThenFail, &text)));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.json"});
}

TEST(FileReplacing, FoldersReadOnlyFilesAndMissingFoldersAreNotWritten) {
    ScratchFolder folder;
    const std::string sub = folder.Path("sub");
    ASSERT_TRUE(test_support::CreateFolder(sub));
    EXPECT_TRUE(FAILED(WriteFileReplacing(sub.c_str(), "text")));

    const std::string locked = folder.Path("locked.json");
    ASSERT_TRUE(WriteFileBytes(locked, {'o', 'l', 'd'}));
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(FAILED(WriteFileReplacing(locked.c_str(), "new")));
    EXPECT_EQ(ReadText(locked), "old");

    const std::string missing = folder.Path("nowhere\\file.json");
    EXPECT_TRUE(FAILED(WriteFileReplacing(missing.c_str(), "text")));
    EXPECT_TRUE(FAILED(WriteFileReplacing("", "text")));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"locked.json", "sub"}));
}

}  // namespace
