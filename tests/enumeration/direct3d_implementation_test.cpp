// Naming the Direct3D 9 implementation that ran: Wine's builtin marker in files, the file's
// SHA-256, and a module that is not the file asked for.
#include "enumeration/direct3d_implementation.h"
#include "enumeration/file_digest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/scratch_folder.h"

namespace {

std::vector<BYTE> Bytes(size_t length, size_t offset, const char* text) {
    std::vector<BYTE> bytes(length, 0);
    std::memcpy(bytes.data() + offset, text, std::min(std::strlen(text), length - offset));
    return bytes;
}

std::string ModuleFile(HMODULE module) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

TEST(WineBuiltinMarker, OnlyTheWholeMarkerAtOffset0x40Counts) {
    const struct {
        std::vector<BYTE> bytes;
        bool builtin;
    } cases[] = {
        {Bytes(0x200, 0x40, "Wine builtin DLL"), true},
        {Bytes(0x200, 0x40, "Wine placeholder DLL"), false},
        {Bytes(0x48, 0x40, "Wine builtin DLL"), false},  // the file ends inside it
    };
    test_support::ScratchFolder scratch;
    for (const auto& c : cases) {
        ASSERT_TRUE(test_support::WriteFileBytes(scratch.Path("image.dll"), c.bytes));
        EXPECT_EQ(FileHasWineBuiltinMarker(scratch.Path("image.dll")), c.builtin) << c.bytes.size();
    }
}

TEST(FileSha256, KnownDigestsOfAShortFileAndOneOfManyPieces) {
    const std::pair<std::string, const char*> cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    test_support::ScratchFolder scratch;
    for (const auto& c : cases) {
        ASSERT_TRUE(test_support::WriteFileBytes(scratch.Path("f"), std::vector<BYTE>(c.first.begin(), c.first.end())));
        std::string digest, error;
        unsigned long long size = 0;
        ASSERT_TRUE(FileSha256(scratch.Path("f"), &digest, &size, &error)) << error;
        EXPECT_EQ(digest, c.second);
        EXPECT_EQ(size, c.first.size());
    }
}

// Wine loads its builtin d3d9 for the full path of a native d3d9.dll unless told otherwise, and
// GetModuleFileName then answers with the path asked for.
TEST(Direct3DImplementation, WinesBuiltinInPlaceOfTheFileAskedForIsNamedAndWarnedOf) {
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "not under Wine";
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    if (overrides != nullptr && std::strstr(overrides, "d3d9=n") != nullptr) GTEST_SKIP() << "d3d9 is overridden";
    test_support::ScratchFolder scratch;
    // A native image under d3d9's name: this test's own program will do.
    const std::string asked = scratch.Path("d3d9.dll");
    ASSERT_TRUE(CopyFileA(ModuleFile(nullptr).c_str(), asked.c_str(), FALSE));
    HMODULE module = LoadLibraryA(asked.c_str());
    ASSERT_NE(module, nullptr);
    const Direct3DImplementation builtin = DescribeDirect3DImplementation(asked, module);
    FreeLibrary(module);
    EXPECT_EQ(builtin.path, asked);
    EXPECT_FALSE(builtin.fileKnown);  // the file at its path did not run
    EXPECT_EQ(ImplementationText(builtin), asked + " (Wine builtin): Wine, Wine Direct3D, version " +
                                               builtin.fileVersion + ", size and SHA-256 not known");
    ASSERT_EQ(builtin.warnings.size(), 1u);
    EXPECT_NE(builtin.warnings[0].find("but Wine's builtin d3d9 ran"), std::string::npos);
    EXPECT_NE(builtin.warnings[0].find("WINEDLLOVERRIDES=d3d9=n,b"), std::string::npos);

    // A native module (this program) that is not the file asked for.
    const Direct3DImplementation other = DescribeDirect3DImplementation(asked, GetModuleHandleA(nullptr));
    EXPECT_TRUE(other.fileKnown && !other.wineBuiltin);
    EXPECT_EQ(other.warnings, std::vector<std::string>{"asked for '" + asked + "', but '" + ModuleFile(nullptr) + "' ran"});
}

}  // namespace
