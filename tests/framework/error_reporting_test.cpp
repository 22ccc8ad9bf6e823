// ReportError: message texts and suffixes, icons and caption, the fatal close and the silence
// after it.
#include <gtest/gtest.h>

#include <memory>

#include "framework/error_reporting.h"
#include "support/recording_application.h"

namespace {

using test_support::FrameworkTest;
using test_support::RecordingApplication;

constexpr char kFatalSuffix[] = "\n\nThis sample will now exit.";
constexpr char kReferenceSuffix[] =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
    "Direct3D feature set, but runs very slowly.";
constexpr char kNoDirect3DText[] =
    "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
    "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
    "was compiled with header files that match\nthe installed DirectX DLLs.";
constexpr char kNullReferenceText[] =
    "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
    "computer only has a reduced-functionality reference device\n"
    "installed.  Install the DirectX SDK to get the full\nreference device.\n";
constexpr char kGenericText[] = "Generic application error. Enable\ndebug output for detailed information.";

class ReportErrorTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        app = std::make_unique<RecordingApplication>();
        app->windowTitle = "Report Caption";
    }
    void TearDown() override {
        if (app->mainWindow) DestroyWindow(app->mainWindow);
        app.reset();
        test_support::TakeQuitMessage();
        FrameworkTest::TearDown();
    }
    const fake_platform::MessageBoxCall& OnlyBox() {
        EXPECT_EQ(fake_platform::messageBoxes.size(), 1u);
        static const fake_platform::MessageBoxCall none{};
        return fake_platform::messageBoxes.empty() ? none : fake_platform::messageBoxes.front();
    }
    std::unique_ptr<RecordingApplication> app;
};

TEST_F(ReportErrorTest, FatalReportAppendsTheExitNoteWithAnErrorIcon) {
    EXPECT_EQ(ReportError(AppErrorNoDirect3D, NoticeFatal), AppErrorNoDirect3D);
    const auto& box = OnlyBox();
    EXPECT_EQ(box.text, std::string(kNoDirect3DText) + kFatalSuffix);
    EXPECT_EQ(box.caption, "Report Caption");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(framework_test_hooks::FatalReportShown());
}

TEST_F(ReportErrorTest, ReferenceSwitchAppendsTheReferenceNoteWithAWarningIcon) {
    EXPECT_EQ(ReportError(D3DERR_OUTOFVIDEOMEMORY, NoticeSwitchedToReference), D3DERR_OUTOFVIDEOMEMORY);
    const auto& box = OnlyBox();
    EXPECT_EQ(box.text, std::string("Not enough video memory.") + kReferenceSuffix);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_FALSE(framework_test_hooks::FatalReportShown());
}

TEST_F(ReportErrorTest, WarningsAndUnknownKindsShowTheBareTextWithAWarningIcon) {
    ReportError(AppErrorResetFailed, NoticeWarning);
    ReportError(E_OUTOFMEMORY, 7);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 2u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text, "Could not reset the Direct3D device.");
    EXPECT_EQ(fake_platform::messageBoxes[1].text, "Not enough memory.");
    for (const auto& box : fake_platform::messageBoxes) EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_FALSE(framework_test_hooks::FatalReportShown());
}

TEST_F(ReportErrorTest, MessageTableCoversTheFrameworkAndSystemCodes) {
    const struct {
        HRESULT code;
        const char* text;
    } cases[] = {
        {AppErrorNoCompatibleDevices, "Could not find any compatible Direct3D\ndevices."},
        {AppErrorNoHardwareDevice, "No hardware-accelerated Direct3D devices\nwere found."},
        {AppErrorNonzeroRefCount,
         "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up)."},
        {AppErrorMediaNotFound, "Could not load required media."},
        {static_cast<HRESULT>(0x80070002), "Could not load required media."},
        {AppErrorNoHalThisMode,
         "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
         "accelerator with the current desktop display\nsettings.\n"
         "Press F2 while the app is running to see a\nlist of available devices and modes."},
        {E_FAIL, kGenericText},
        {static_cast<HRESULT>(0x82000002), kGenericText},  // a gap in the framework's codes
    };
    for (const auto& entry : cases) {
        fake_platform::messageBoxes.clear();
        ReportError(entry.code, NoticeWarning);
        ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
        EXPECT_EQ(fake_platform::messageBoxes[0].text, entry.text) << std::hex << entry.code;
    }
}

TEST_F(ReportErrorTest, LongestTextWithTheLongestNoteIsShownWhole) {
    ReportError(AppErrorNullReferenceDevice, NoticeSwitchedToReference);
    EXPECT_EQ(OnlyBox().text, std::string(kNullReferenceText) + kReferenceSuffix);
}

TEST_F(ReportErrorTest, EveryReportAfterAFatalOneIsSilentAndReturnsItsCode) {
    ReportError(AppErrorResetFailed, NoticeFatal);
    EXPECT_EQ(ReportError(AppErrorNoDirect3D, NoticeFatal), AppErrorNoDirect3D);
    EXPECT_EQ(ReportError(E_OUTOFMEMORY, NoticeWarning), E_OUTOFMEMORY);
    EXPECT_EQ(ReportError(E_FAIL, NoticeSwitchedToReference), E_FAIL);
    EXPECT_EQ(OnlyBox().text, std::string("Could not reset the Direct3D device.") + kFatalSuffix);
}

// A text of the caller's (longer than any table text) is shown whole with its kind's note, and is
// as silent as the table's after a fatal report.
TEST_F(ReportErrorTest, OwnTextTakesItsKindsNoteAndFallsSilentAfterAFatalReport) {
    const std::string text = "CreateRenderTarget failed: " + std::string(400, 'x');
    EXPECT_EQ(ReportErrorText(D3DERR_OUTOFVIDEOMEMORY, NoticeFatal, text), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(OnlyBox().text, text + kFatalSuffix);
    EXPECT_EQ(OnlyBox().type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ReportErrorText(E_FAIL, NoticeWarning, "later"), E_FAIL);
    EXPECT_EQ(fake_platform::messageBoxes.size(), 1u);
}

TEST_F(ReportErrorTest, FatalReportClosesTheMainWindowAfterTheBox) {
    app->mainWindow = test_support::CreateFrameworkWindow();
    ASSERT_NE(app->mainWindow, nullptr);
    const HWND window = app->mainWindow;
    static bool windowOpenDuringBox;
    windowOpenDuringBox = false;
    fake_platform::onMessageBox = [](const fake_platform::MessageBoxCall&) {
        windowOpenDuringBox = application && application->mainWindow != nullptr;
    };

    ReportError(AppErrorResetFailed, NoticeFatal);

    EXPECT_TRUE(windowOpenDuringBox);
    EXPECT_EQ(app->mainWindow, nullptr) << "the shutdown sequence ran before ReportError returned";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app->Count("CleanupScene"), 1);
    int exitCode = -1;
    EXPECT_TRUE(test_support::TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0);
}

TEST_F(ReportErrorTest, WarningLeavesTheWindowOpen) {
    app->mainWindow = test_support::CreateFrameworkWindow();
    ReportError(AppErrorResetFailed, NoticeSwitchedToReference);
    EXPECT_TRUE(IsWindow(app->mainWindow));
    EXPECT_EQ(app->Count("CleanupScene"), 0);
}

TEST_F(ReportErrorTest, WithoutAnApplicationTheBoxHasNoCaptionAndNothingCloses) {
    app.reset();
    app = std::make_unique<RecordingApplication>();
    application = nullptr;
    EXPECT_EQ(ReportError(AppErrorNoDirect3D, NoticeFatal), AppErrorNoDirect3D);
    EXPECT_EQ(OnlyBox().caption, "");
}

}  // namespace
