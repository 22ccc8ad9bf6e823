// Naming the Direct3D 9 implementation that ran: Wine's builtin marker in images and files, the
// file's SHA-256, and the description of a module that is, or is not, the file asked for.
#include "enumeration/direct3d_implementation.h"
#include "enumeration/file_digest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

std::vector<BYTE> Bytes(size_t length, size_t offset, const char* text) {
    std::vector<BYTE> bytes(length, 0);
    const size_t n = std::strlen(text);
    if (offset < length) std::memcpy(bytes.data() + offset, text, offset + n <= length ? n : length - offset);
    return bytes;
}

std::string ModuleFile(HMODULE module) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

TEST(WineBuiltinMarker, OnlyTheMarkerWholeAtOffset0x40Counts) {
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
        bool builtin;
    } cases[] = {
        {"a Wine builtin", Bytes(0x200, 0x40, "Wine builtin DLL"), true},
        {"a native DLL's DOS stub", Bytes(0x200, 0x4E, "This program cannot be run in DOS mode."), false},
        {"Wine's placeholder", Bytes(0x200, 0x40, "Wine placeholder DLL"), false},
        {"the marker a byte late", Bytes(0x200, 0x41, "Wine builtin DLL"), false},
        {"a file that ends inside the marker", Bytes(0x48, 0x40, "Wine builtin DLL"), false},
        {"an empty file", {}, false},
    };
    test_support::ScratchFolder scratch;
    for (const auto& c : cases) {
        EXPECT_EQ(HasWineBuiltinMarker(c.bytes.data(), c.bytes.size()), c.builtin) << c.what;
        const std::string path = scratch.Path("image.dll");
        ASSERT_TRUE(test_support::WriteFileBytes(path, c.bytes));
        EXPECT_EQ(FileHasWineBuiltinMarker(path), c.builtin) << c.what;
    }
    EXPECT_FALSE(FileHasWineBuiltinMarker(scratch.Path("missing.dll")));
}

TEST(FileSha256, KnownDigestsOfFilesSmallerAndLargerThanOnePiece) {
    const struct {
        std::string contents;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    test_support::ScratchFolder scratch;
    for (const auto& c : cases) {
        const std::string path = scratch.Path("file.bin");
        ASSERT_TRUE(test_support::WriteFileBytes(path, std::vector<BYTE>(c.contents.begin(), c.contents.end())));
        std::string digest, error;
        unsigned long long size = 1;
        ASSERT_TRUE(FileSha256(path, &digest, &size, &error)) << error;
        EXPECT_EQ(digest, c.digest) << c.contents.size();
        EXPECT_EQ(size, c.contents.size());
    }
    std::string digest, error;
    unsigned long long size = 0;
    EXPECT_FALSE(FileSha256(scratch.Path("missing.bin"), &digest, &size, &error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
}

TEST(Direct3DLibraryProblem, AFileIsFineAMissingFileOrAFolderIsSaid) {
    test_support::ScratchFolder scratch;
    ASSERT_TRUE(test_support::WriteFileBytes(scratch.Path("d3d9.dll"), {1, 2, 3}));
    EXPECT_EQ(Direct3DLibraryProblem(scratch.Path("d3d9.dll")), "");
    EXPECT_NE(Direct3DLibraryProblem(scratch.Path("missing.dll")).find("(error 2)"), std::string::npos);
    EXPECT_EQ(Direct3DLibraryProblem(scratch.Path("")), "it is a folder, not a d3d9.dll");
}

TEST(Direct3DImplementation, AModuleIsNamedByItsFileAndAnotherFileAskedForIsAWarning) {
    const Direct3DImplementation none = DescribeDirect3DImplementation("C:\\dxvk\\d3d9.dll", nullptr);
    EXPECT_FALSE(none.loaded);
    EXPECT_EQ(ImplementationText(none), "'C:\\dxvk\\d3d9.dll' not loaded");

    // This test's own program stands for a native DLL: no marker, a file that is what runs.
    HMODULE module = GetModuleHandleA(nullptr);
    const std::string path = ModuleFile(module);
    std::string digest, error;
    unsigned long long size = 0;
    ASSERT_TRUE(FileSha256(path, &digest, &size, &error)) << error;
    const Direct3DImplementation system = DescribeDirect3DImplementation("", module);
    EXPECT_TRUE(system.loaded);
    EXPECT_EQ(system.path, path);
    EXPECT_FALSE(system.wineBuiltin);
    EXPECT_TRUE(system.fileKnown);
    EXPECT_EQ(system.sha256, digest);
    EXPECT_EQ(system.size, size);
    EXPECT_TRUE(system.warnings.empty());
    // The test program has no version resource.
    EXPECT_EQ(ImplementationText(system), path + ": " + std::to_string(size) + " bytes, SHA-256 " + digest);

    // The same file in other letters is what was asked for; another file is not.
    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(DescribeDirect3DImplementation(upper, module).warnings.empty());
    const Direct3DImplementation other = DescribeDirect3DImplementation("C:\\dxvk\\d3d9.dll", module);
    ASSERT_EQ(other.warnings.size(), 1u);
    EXPECT_EQ(other.warnings[0], "asked for 'C:\\dxvk\\d3d9.dll', but '" + path + "' ran");
}

// Wine loads its builtin d3d9 for the full path of a native d3d9.dll unless told otherwise, and
// GetModuleFileName then answers with the path asked for.
TEST(Direct3DImplementation, WinesBuiltinInPlaceOfTheFileAskedForIsNamedAndWarnedOf) {
    if (!UnderWine()) GTEST_SKIP() << "Wine's builtin DLLs exist only under Wine";
    test_support::ScratchFolder scratch;
    // A native image under d3d9's name: this test's own program will do.
    const std::string asked = scratch.Path("d3d9.dll");
    ASSERT_TRUE(CopyFileA(ModuleFile(GetModuleHandleA(nullptr)).c_str(), asked.c_str(), FALSE));
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    if (overrides != nullptr && std::strstr(overrides, "d3d9=n") != nullptr) GTEST_SKIP() << "d3d9 is overridden";
    HMODULE module = LoadLibraryA(asked.c_str());
    ASSERT_NE(module, nullptr);
    const Direct3DImplementation builtin = DescribeDirect3DImplementation(asked, module);
    FreeLibrary(module);
    EXPECT_TRUE(builtin.wineBuiltin);
    EXPECT_EQ(builtin.productName, "Wine");
    EXPECT_FALSE(builtin.fileVersion.empty());
    // Its path is the file asked for, which did not run: no size or digest of it.
    EXPECT_EQ(builtin.path, asked);
    EXPECT_FALSE(builtin.fileKnown);
    ASSERT_EQ(builtin.warnings.size(), 1u);
    EXPECT_NE(builtin.warnings[0].find("but Wine's builtin d3d9 ran"), std::string::npos);
    EXPECT_NE(builtin.warnings[0].find("WINEDLLOVERRIDES=d3d9=n,b"), std::string::npos);
    EXPECT_EQ(ImplementationText(builtin), asked + " (Wine builtin): Wine, Wine Direct3D, version " +
                                               builtin.fileVersion + ", size and SHA-256 not known");

    // Wine's own d3d9 asked for by its own path: what ran is what was asked for.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string own = std::string(system) + "\\d3d9.dll";
    module = LoadLibraryA(own.c_str());
    ASSERT_NE(module, nullptr);
    const Direct3DImplementation wine = DescribeDirect3DImplementation(own, module);
    FreeLibrary(module);
    EXPECT_TRUE(wine.wineBuiltin);
    EXPECT_TRUE(wine.fileKnown);
    EXPECT_EQ(wine.sha256.size(), 64u);
    EXPECT_TRUE(wine.warnings.empty()) << wine.warnings[0];
}

}  // namespace
