// Saving the picture through the real save dialog (answered by a hook): the file holds the kept
// frame, gets the default extension, and a file that cannot be written, or a frame that was never
// kept, is reported by a warning naming it, with nothing lost.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/framework_test_hooks.h"
#include "image/system_error_text.h"
#include "resources/resource_ids.h"
#include "support/common_dialog_answer.h"
#include "support/fake_device.h"
#include "support/fake_platform.h"
#include "support/png_decode.h"
#include "support/scratch_folder.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_fixture.h"

namespace {

using test_support::AnswerDialogs;
using test_support::ReadFileBytes;
using test_support::ScratchFolder;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr char kWarningPrefix[] = "The picture could not be saved as\n";

class SaveOutputImage : public viewer_tests::ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        // A window whose client area, and so its back buffer, is 64 x 48.
        device->SetPresentParameters(viewer_tests::WindowedPresentParameters(64, 48));
        UseBackBuffer(64, 48);
        CreateAndRestore();
        app->windowed = true;
        app->windowedStyle = kStyle;
        app->clientRect = {0, 0, 64, 48};
        // Every pixel of the frame names its own position.
        fakes::FakeSurface* back = device->backBuffer;
        for (UINT y = 0; y < 48; ++y) {
            for (UINT x = 0; x < 64; ++x) {
                const DWORD colour = 0xFF000000u | x << 16 | y << 8 | ((x + y) & 0xFF);
                std::memcpy(&back->bytes[y * back->pitch + x * 4], &colour, 4);
            }
        }
        // Single-frame mode saves the frame kept when it was drawn, without drawing.
        app->updateContinuously = false;
        ASSERT_EQ(S_OK, app->RenderFrame());
        ASSERT_NE(app->frontBufferCopy, nullptr);
        std::fill(back->bytes.begin(), back->bytes.end(), BYTE{0});  // later frames do not count
    }

    void Save() { ASSERT_TRUE(HandleViewerCommand(*app, IDM_SAVE_OUTPUT)); }

    // Both saves to path warned, and neither wrote a file.
    void ExpectTwoWarningsAndNoFile(const std::string& path) {
        ASSERT_EQ(fake_platform::messageBoxes.size(), 2u);
        EXPECT_EQ(fake_platform::messageBoxes[0].text, kWarningPrefix + path);
        EXPECT_EQ(fake_platform::messageBoxes[1].text, kWarningPrefix + path);
        EXPECT_TRUE(folder.Names().empty());
    }

    ScratchFolder folder;
};

TEST_F(SaveOutputImage, FileHoldsTheKeptFrameAndGetsThePngExtension) {
    {
        AnswerDialogs answer(folder.Path("saved picture"));
        Save();
    }
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    ASSERT_EQ(folder.Names(), std::vector<std::string>{"saved picture.png"});
    const test_support::DecodedPng png = test_support::DecodeRgb(ReadFileBytes(folder.Path("saved picture.png")));
    ASSERT_TRUE(png.ok);
    ASSERT_EQ(png.width, 64u);
    ASSERT_EQ(png.height, 48u);
    int wrong = 0;
    for (UINT y = 0; y < 48; ++y) {
        for (UINT x = 0; x < 64; ++x) {
            const BYTE* p = &png.rgb[(y * 64 + x) * 3];
            if (p[0] != x || p[1] != y || p[2] != ((x + y) & 0xFF)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(SaveOutputImage, CancelledDialogWritesNothingAndSaysNothing) {
    const int pauseBefore = framework_test_hooks::PauseCount();
    int pauseDuringDialog = pauseBefore;
    {
        AnswerDialogs cancel;
        AnswerDialogs::onShown = [&] { pauseDuringDialog = framework_test_hooks::PauseCount(); };
        Save();
        EXPECT_EQ(AnswerDialogs::Titles().size(), 1u);
    }
    // The dialog's time is paused time, as with the framework's own dialog.
    EXPECT_EQ(pauseDuringDialog, pauseBefore + 1);
    EXPECT_EQ(framework_test_hooks::PauseCount(), pauseBefore);
    EXPECT_TRUE(folder.Names().empty());
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

TEST_F(SaveOutputImage, ReadOnlyTargetIsKeptAndTheWarningNamesItAndTheSystemsReason) {
    const std::string path = folder.Path("locked.png");
    const std::vector<BYTE> original = {'o', 'l', 'd'};
    ASSERT_TRUE(test_support::WriteFileBytes(path, original));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        // The overwrite prompt comes first and is answered Yes.
        AnswerDialogs answer(path);
        Save();
        EXPECT_GE(AnswerDialogs::Titles().size(), 2u);
    }
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    const fake_platform::MessageBoxCall& box = fake_platform::messageBoxes[0];
    EXPECT_EQ(box.text, kWarningPrefix + path + "\n\n" +
                            SystemErrorText(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) + ".");
    EXPECT_EQ(box.caption, app->windowTitle);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"locked.png"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveOutputImage, NoKeptFrameIsReportedInsteadOfWritten) {
    const std::string path = folder.Path("nowhere.png");
    // A freeze whose frame could not be drawn yet has nothing to save: not an older picture.
    app->keepNextFrame = true;
    {
        AnswerDialogs answer(path);
        Save();
    }
    EXPECT_TRUE(app->keepNextFrame) << "still to be kept when a frame is drawn";
    app->keepNextFrame = false;
    app->DestroyDeviceResources();  // the kept frame goes with the device
    ASSERT_EQ(app->frontBufferCopy, nullptr);
    // ... and a lost device draws none in its place.
    app->deviceLost = true;
    device->testCooperativeLevelResults.assign(16, D3DERR_DEVICELOST);
    {
        AnswerDialogs answer(path);
        Save();
    }
    ExpectTwoWarningsAndNoFile(path);
}

TEST_F(SaveOutputImage, ClientWithoutPixelsSavesNoPictureOfAnOlderSize) {
    // The window squeezed to its caption: the kept 64 x 48 frame is not what it shows.
    const std::string path = folder.Path("empty.png");
    app->clientAreaEmpty = true;
    for (bool running : {false, true}) {
        app->updateContinuously = running;
        AnswerDialogs answer(path);
        Save();
    }
    ExpectTwoWarningsAndNoFile(path);
}

TEST_F(SaveOutputImage, FrozenPictureOfAnOlderSizeIsReplacedByAFrameDrawnNow) {
    // The window was resized after the freeze: its back buffer is no longer the kept frame's.
    app->backBufferDesc.Width = 32;
    {
        AnswerDialogs answer(folder.Path("resized"));
        Save();
    }
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    const test_support::DecodedPng png = test_support::DecodeRgb(ReadFileBytes(folder.Path("resized.png")));
    ASSERT_TRUE(png.ok);
    const BYTE* p = &png.rgb[(5 * png.width + 7) * 3];
    EXPECT_FALSE(p[0] == 7 && p[1] == 5) << "the frame kept before the resize was saved";
    EXPECT_FALSE(app->updateContinuously);
    EXPECT_FALSE(app->keepNextFrame);
}

TEST_F(SaveOutputImage, FrozenDeviceWithoutAFrameYetSavesItsFirstFrameDrawnNow) {
    // A new device from the settings dialog: Ctrl+S may come before its first frame is drawn.
    app->frontBufferCopy->Release();
    app->frontBufferCopy = nullptr;
    app->stepPending = true;
    {
        AnswerDialogs answer(folder.Path("new device"));
        Save();
    }
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"new device.png"});
    EXPECT_NE(app->frontBufferCopy, nullptr) << "the frame drawn is the one kept";
    EXPECT_FALSE(app->updateContinuously);
}

TEST_F(SaveOutputImage, FullscreenOpensNoDialog) {
    app->windowed = false;
    {
        AnswerDialogs cancel;
        Save();
        EXPECT_TRUE(AnswerDialogs::Titles().empty());
    }
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

}  // namespace
