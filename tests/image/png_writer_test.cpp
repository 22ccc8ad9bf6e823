// The PNG writer: what it writes decodes back to the source pixels with only the four chunk
// kinds, and a failed write leaves no temporary behind and any existing file as it was.
#include "image/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/png_decode.h"
#include "support/scratch_folder.h"

namespace {

using test_support::DecodedPng;
using test_support::DecodeRgb;
using test_support::ReadFileBytes;
using test_support::ScratchFolder;
using test_support::WriteFileBytes;

struct Chunk {
    std::string type;
    std::vector<BYTE> data;
};

DWORD BigEndian(const BYTE* p) {
    return (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | DWORD(p[3]);
}

// The file's chunks in order; empty when the signature or a chunk's bounds are wrong.
std::vector<Chunk> ParseChunks(const std::vector<BYTE>& file) {
    static const BYTE signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<Chunk> chunks;
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0) return chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const DWORD length = BigEndian(&file[at]);
        if (at + 12 + length > file.size()) return {};
        Chunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + length);
        chunks.push_back(chunk);
        at += 12 + length;
    }
    if (at != file.size()) return {};
    return chunks;
}

// A picture in which every pixel differs from its neighbours in all three channels, with
// junk in the alpha byte and in the padding at the end of each row.
struct SourceImage {
    UINT width;
    UINT height;
    int pitch;
    std::vector<BYTE> bytes;

    SourceImage(UINT w, UINT h, int padBytes) : width(w), height(h), pitch(int(w) * 4 + padBytes) {
        bytes.assign(size_t(pitch) * h, 0xA5);
        for (UINT y = 0; y < h; ++y) {
            for (UINT x = 0; x < w; ++x) {
                BYTE* p = &bytes[size_t(y) * pitch + x * 4];
                p[0] = BYTE(x * 7 + y * 3);   // blue
                p[1] = BYTE(x * 13 + y * 29); // green
                p[2] = BYTE(255 - x - y * 5); // red
                p[3] = BYTE(x ^ y);           // alpha, dropped
            }
        }
    }
    const BYTE* Pixel(UINT x, UINT y) const { return &bytes[size_t(y) * pitch + x * 4]; }
};

HRESULT WriteWhole(const std::string& path, const SourceImage& source) {
    return WritePngFile(path.c_str(), source.bytes.data(), source.pitch, source.width, source.height);
}

void ExpectPixelsMatch(const DecodedPng& decoded, const SourceImage& source, bool bottomUp) {
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.width, source.width);
    ASSERT_EQ(decoded.height, source.height);
    int mismatches = 0;
    for (UINT y = 0; y < source.height; ++y) {
        const UINT sourceRow = bottomUp ? source.height - 1 - y : y;
        for (UINT x = 0; x < source.width; ++x) {
            const BYTE* want = source.Pixel(x, sourceRow);
            const BYTE* got = &decoded.rgb[(size_t(y) * source.width + x) * 3];
            if (got[0] != want[2] || got[1] != want[1] || got[2] != want[0]) {
                if (++mismatches <= 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs";
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(PngWriterTest, WrittenPixelsDecodeToTheSourceColours) {
    ScratchFolder folder;
    const SourceImage source(37, 23, 12);
    const std::string path = folder.Path("round trip.png");
    ASSERT_EQ(WriteWhole(path, source), S_OK);
    ExpectPixelsMatch(DecodeRgb(ReadFileBytes(path)), source, false);
}

TEST(PngWriterTest, NegativePitchWritesABottomUpImageTopRowFirst) {
    ScratchFolder folder;
    const SourceImage source(16, 9, 0);
    const std::string path = folder.Path("bottom up.png");
    const BYTE* lastRow = source.Pixel(0, source.height - 1);
    ASSERT_EQ(WritePngFile(path.c_str(), lastRow, -source.pitch, source.width, source.height),
              S_OK);
    ExpectPixelsMatch(DecodeRgb(ReadFileBytes(path)), source, true);
}

TEST(PngWriterTest, FileHoldsOnlyHeaderImageDataAndEndChunks) {
    ScratchFolder folder;
    const SourceImage source(300, 200, 0);
    const std::string path = folder.Path("chunks.png");
    ASSERT_EQ(WriteWhole(path, source), S_OK);
    const std::vector<Chunk> chunks = ParseChunks(ReadFileBytes(path));
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_TRUE(chunks.back().data.empty());
    for (size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
    }
    const std::vector<BYTE>& header = chunks.front().data;
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(BigEndian(&header[0]), 300u);
    EXPECT_EQ(BigEndian(&header[4]), 200u);
    EXPECT_EQ(header[8], 8);   // bit depth
    EXPECT_EQ(header[9], 2);   // truecolour RGB
    EXPECT_EQ(header[10], 0);  // deflate
    EXPECT_EQ(header[11], 0);  // adaptive filtering
    EXPECT_EQ(header[12], 0);  // not interlaced
}

TEST(PngWriterTest, ReplacesAnExistingFileAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::string path = folder.Path("existing.png");
    ASSERT_TRUE(WriteFileBytes(path, std::vector<BYTE>(5000, 'x')));
    const SourceImage source(8, 8, 0);
    ASSERT_EQ(WritePngFile(path.c_str(), source.bytes.data(), source.pitch, 8, 8), S_OK);
    ExpectPixelsMatch(DecodeRgb(ReadFileBytes(path)), source, false);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"existing.png"});
}

TEST(PngWriterTest, LongNameWithBlanksAndAnsiCharactersIsWritten) {
    ScratchFolder folder;
    // Folders of 100 characters each take the full name well past MAX_PATH, towards the
    // 512 characters the save dialog allows.
    std::string path = folder.Path("");
    path.pop_back();
    while (path.size() < 400) {
        path += "\\" + std::string(96, 'd') + " sub";
        ASSERT_TRUE(test_support::CreateFolder(path)) << path.size();
    }
    // e-acute in the Western ANSI code page; other code pages get a plain name.
    const bool western = GetACP() == 1252;
    const std::string leaf = western ? "caf\xE9 picture.png" : "cafe picture.png";
    path += "\\" + leaf;
    ASSERT_GT(path.size(), 400u);
    ASSERT_LT(path.size(), 512u);
    const SourceImage source(5, 4, 0);
    ASSERT_EQ(WritePngFile(path.c_str(), source.bytes.data(), source.pitch, 5, 4), S_OK);
    ExpectPixelsMatch(DecodeRgb(ReadFileBytes(path)), source, false);
    if (western) {
        const std::wstring folderName = test_support::WidePath(path.substr(0, path.rfind('\\')));
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((folderName + L"\\caf\u00E9 picture.png").c_str(), &found);
        EXPECT_NE(search, INVALID_HANDLE_VALUE) << "the name was not read as ANSI";
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
}

// Each failing target: the write fails, nothing new appears in the folder and what was there
// before is unchanged.
class PngWriterFailureTest : public ::testing::Test {
protected:
    void ExpectFailsLeavingFolderAsItWas(const std::string& path) {
        const std::vector<std::string> before = folder.Names();
        const SourceImage source(20, 10, 0);
        EXPECT_TRUE(FAILED(WritePngFile(path.c_str(), source.bytes.data(), source.pitch, 20, 10)));
        EXPECT_EQ(folder.Names(), before);
    }
    ScratchFolder folder;
};

TEST_F(PngWriterFailureTest, MissingFolderFails) {
    ExpectFailsLeavingFolderAsItWas(folder.Path("no such folder\\picture.png"));
    EXPECT_EQ(GetFileAttributesA(folder.Path("no such folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PngWriterFailureTest, NameOfAFolderFails) {
    const std::string path = folder.Path("a folder.png");
    ASSERT_TRUE(test_support::CreateFolder(path));
    ExpectFailsLeavingFolderAsItWas(path);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(PngWriterFailureTest, ReadOnlyTargetFailsAndKeepsItsContent) {
    const std::string path = folder.Path("locked.png");
    const std::vector<BYTE> original = {'o', 'l', 'd'};
    ASSERT_TRUE(WriteFileBytes(path, original));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectFailsLeavingFolderAsItWas(path);
    EXPECT_EQ(ReadFileBytes(path), original);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PngWriterFailureTest, ImpossibleArgumentsFailWithoutWriting) {
    const std::string path = folder.Path("never.png");
    const SourceImage source(4, 4, 0);
    const BYTE* pixels = source.bytes.data();
    EXPECT_EQ(WritePngFile(nullptr, pixels, 16, 4, 4), E_INVALIDARG);
    EXPECT_EQ(WritePngFile("", pixels, 16, 4, 4), E_INVALIDARG);
    EXPECT_EQ(WritePngFile(path.c_str(), nullptr, 16, 4, 4), E_INVALIDARG);
    EXPECT_EQ(WritePngFile(path.c_str(), pixels, 16, 0, 4), E_INVALIDARG);
    EXPECT_EQ(WritePngFile(path.c_str(), pixels, 16, 4, 0), E_INVALIDARG);
    EXPECT_EQ(WritePngFile(path.c_str(), pixels, 15, 4, 4), E_INVALIDARG);
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
