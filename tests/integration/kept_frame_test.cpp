// The frame the viewer keeps, on Wine's real Direct3D 9: it is the back buffer of the frame just
// drawn, resolved, at one and at four samples and across device resets; the window shows it again
// pixel for pixel; the saved file holds it; and saving again and again leaks nothing of ours.
#include <windows.h>
#include <d3d9.h>

#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/common_dialog_answer.h"
#include "support/png_decode.h"
#include "support/real_viewer_suite.h"
#include "support/scratch_folder.h"
#include "support/surface_readback.h"
#include "image/kept_frame.h"
#include "image/png_writer.h"
#include "viewer/viewer_application.h"
#include "viewer/viewer_commands.h"

namespace {

using test_support::Picture;

// The pixels of a system-memory surface, as a Picture.
Picture Contents(IDirect3DSurface9* surface) {
    Picture picture;
    D3DSURFACE_DESC desc = {};
    D3DLOCKED_RECT locked = {};
    if (!surface || FAILED(surface->GetDesc(&desc)) || FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return picture;
    }
    picture.width = desc.Width;
    picture.height = desc.Height;
    for (UINT y = 0; y < desc.Height; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        picture.pixels.insert(picture.pixels.end(), row, row + desc.Width);
    }
    surface->UnlockRect();
    return picture;
}

// Pixels whose colour differs (alpha aside); -1 when the sizes differ.
int PixelsUnlike(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.width == 0) return -1;
    int unlike = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) unlike += (a.pixels[i] & 0xFFFFFF) != (b.pixels[i] & 0xFFFFFF);
    return unlike;
}

size_t Colours(const Picture& picture) {
    std::set<DWORD> colours;
    for (DWORD pixel : picture.pixels) colours.insert(pixel & 0xFFFFFF);
    return colours.size();
}

// The handles open in this process: every handle value below 0x4000 that the system accepts.
// (Wine reports no count through GetProcessHandleCount, and its process list gives the handle
// table's capacity, which grows by doubling.)
std::vector<HANDLE> OpenHandles() {
    std::vector<HANDLE> handles;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        if (GetHandleInformation(handle, &flags)) handles.push_back(handle);
    }
    return handles;
}

// The handle's type and, where it has one, its name: "Key \REGISTRY\...\LastVisitedMRU".
std::string Describe(HANDLE handle) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    alignas(8) BYTE buffer[1024] = {};
    if (!query || query(handle, ObjectTypeInformation, buffer, sizeof(buffer), nullptr) != 0) return "?";
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
    std::string text;
    for (USHORT i = 0; i < name->Length / 2; ++i) text += static_cast<char>(name->Buffer[i]);
    alignas(8) BYTE named[2048] = {};
    constexpr auto kObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
    if (query(handle, kObjectNameInformation, named, sizeof(named), nullptr) == 0) {
        const auto* objectName = reinterpret_cast<const UNICODE_STRING*>(named);
        text += " ";
        for (USHORT i = 0; i < objectName->Length / 2; ++i) text += static_cast<char>(objectName->Buffer[i]);
    }
    return text;
}

const std::string kDialogMruKey = "\\Explorer\\ComDlg32\\LastVisitedMRU";

class KeptFrameTest : public test_support::RealViewerSuite {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, app_->device);
        app_->updateContinuously = true;
        app_->stepPending = false;
    }

    // Draws a frame that is to be kept and returns its back buffer as the device resolved it,
    // read before anything is presented.
    static Picture DrawKeptFrame() {
        app_->keepNextFrame = true;
        EXPECT_EQ(S_OK, app_->RenderFrame());
        EXPECT_FALSE(app_->keepNextFrame);
        return test_support::ReadBack(app_->device);
    }
};

TEST_F(KeptFrameTest, KeptCopyIsTheResolvedBackBufferAtOneAndFourSamplesAcrossResets) {
    Picture previous;
    for (D3DMULTISAMPLE_TYPE type : {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES}) {
        SCOPED_TRACE(type);
        UseMultisampling(type);
        const Picture drawn = DrawKeptFrame();
        ASSERT_EQ(512u, drawn.width);
        EXPECT_GE(Colours(drawn), 6u) << "not a picture of the pattern";
        EXPECT_EQ(0, PixelsUnlike(drawn, Contents(app_->frontBufferCopy)));
        if (!previous.pixels.empty()) {
            EXPECT_GT(PixelsUnlike(previous, drawn), 0) << "the samples changed nothing";
        }
        previous = drawn;

        // A reset takes the resolve target but not the kept picture; the next keep works again.
        IDirect3DSurface9* keptBefore = app_->frontBufferCopy;
        ASSERT_EQ(S_OK, app_->ResetDevice());
        EXPECT_EQ(keptBefore, app_->frontBufferCopy);
        EXPECT_EQ(0, PixelsUnlike(drawn, Contents(app_->frontBufferCopy)));
        ASSERT_NE(nullptr, app_->resolvedFrame);
        app_->whiteBackground = FALSE;
        const Picture afterReset = DrawKeptFrame();
        app_->whiteBackground = TRUE;
        EXPECT_GT(PixelsUnlike(drawn, afterReset), 1000);
        EXPECT_EQ(0, PixelsUnlike(afterReset, Contents(app_->frontBufferCopy)));
    }
    UseMultisampling(D3DMULTISAMPLE_NONE);
}

TEST_F(KeptFrameTest, RunningFramesKeepNothingAndFrozenOnesAreShownAgainAsDrawn) {
    app_->keepNextFrame = false;
    const IDirect3DSurface9* kept = app_->frontBufferCopy;
    ASSERT_EQ(S_OK, app_->RenderFrame());
    EXPECT_EQ(kept, app_->frontBufferCopy);

    // Space: one new frame, kept for the save and for the window.
    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_REPAINT));
    ASSERT_FALSE(app_->updateContinuously);
    const Picture saved = Contents(app_->frontBufferCopy);
    EXPECT_EQ(0, PixelsUnlike(saved, Contents(app_->shownFrame)));

    // A setting changed while frozen draws a frame the window shows, but the save keeps Space's.
    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_INVERT_COLOURS));
    ASSERT_EQ(S_OK, app_->StepFrame());
    EXPECT_EQ(0, PixelsUnlike(saved, Contents(app_->frontBufferCopy)));
    const Picture shown = Contents(app_->shownFrame);
    EXPECT_GT(PixelsUnlike(saved, shown), 1000);

    // What the repaint puts on a device context is the shown frame, pixel for pixel.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 512, -384, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(S_OK, PaintKeptFrame(memory, app_->shownFrame));
    GdiFlush();
    Picture painted;
    painted.width = 512;
    painted.height = 384;
    painted.pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 512 * 384);
    EXPECT_EQ(0, PixelsUnlike(shown, painted));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_INVERT_COLOURS));
    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_SINGLE_FRAME));
    EXPECT_TRUE(app_->updateContinuously);
}

// Each completed save through the common dialog leaves one handle open under Wine: its
// comdlg32 opens the LastVisitedMRU registry key to remember the folder and never closes it
// (the same dialog called on its own does the same; a cancelled one leaves nothing). Our own
// part, the kept frame and the PNG writer, leaves none.
TEST_F(KeptFrameTest, TenSavesWriteTheKeptFrameAndLeaveOnlyTheDialogsKeysOpen) {
    test_support::ScratchFolder folder;
    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_REPAINT));
    const Picture kept = Contents(app_->frontBufferCopy);
    ASSERT_EQ(512u, kept.width);

    const RECT whole = {0, 0, 512, 384};
    const size_t beforeWrites = OpenHandles().size();
    ASSERT_GT(beforeWrites, 0u);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(S_OK, SaveSurfaceRectToPng(app_->frontBufferCopy, whole, folder.Path("direct.png").c_str()));
    }
    EXPECT_EQ(beforeWrites, OpenHandles().size()) << "the PNG writer leaks handles";

    // The first dialog loads the shell's libraries, which keep their own handles.
    {
        test_support::AnswerDialogs answer(folder.Path("first.png"));
        ASSERT_TRUE(HandleViewerCommand(*app_, IDM_SAVE_OUTPUT));
    }
    const std::vector<HANDLE> before = OpenHandles();
    for (int i = 0; i < 10; ++i) {
        const std::string path = folder.Path("save" + std::to_string(i) + ".png");
        test_support::AnswerDialogs answer(path);
        ASSERT_TRUE(HandleViewerCommand(*app_, IDM_SAVE_OUTPUT));
        const test_support::DecodedPng png = test_support::DecodeRgb(test_support::ReadFileBytes(path));
        ASSERT_TRUE(png.ok) << i;
        ASSERT_EQ(512u, png.width);
        ASSERT_EQ(384u, png.height);
        int unlike = 0;
        for (size_t p = 0; p < kept.pixels.size(); ++p) {
            const DWORD rgb = static_cast<DWORD>(png.rgb[p * 3]) << 16 | png.rgb[p * 3 + 1] << 8 | png.rgb[p * 3 + 2];
            unlike += rgb != (kept.pixels[p] & 0xFFFFFF);
        }
        EXPECT_EQ(0, unlike) << i;
    }
    std::vector<std::string> opened;
    for (HANDLE handle : OpenHandles()) {
        if (std::find(before.begin(), before.end(), handle) == before.end()) opened.push_back(Describe(handle));
    }
    EXPECT_LE(opened.size(), 10u);
    for (const std::string& handle : opened) {
        EXPECT_EQ(kDialogMruKey, handle.substr(handle.size() - std::min(handle.size(), kDialogMruKey.size())));
    }
    ASSERT_TRUE(HandleViewerCommand(*app_, IDM_SINGLE_FRAME));
}

}  // namespace
