// Switching how the device is shown: window style and menu per mode, the windowed/fullscreen
// toggle (reset on the same device, re-creation on another), resizing, a new device from the
// settings dialog, and single-frame mode across all of them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "settings_dialog/settings_dialog.h"
#include "framework/error_reporting.h"
#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;
using Log = std::vector<std::string>;

constexpr DWORD kFullscreenStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU;

// The enumeration's combo of the given device type and mode on adapter 0.
DeviceCombo* FindCombo(ApplicationFramework& app, D3DDEVTYPE type, bool windowed, DeviceInfo** deviceOut) {
    AdapterInfo* adapter = static_cast<AdapterInfo*>(app.enumeration.adapterInfos->ItemAt(0));
    for (UINT d = 0; d < adapter->deviceInfos->Count(); ++d) {
        DeviceInfo* device = static_cast<DeviceInfo*>(adapter->deviceInfos->ItemAt(d));
        if (device->deviceType != type) continue;
        for (UINT c = 0; c < device->deviceCombos->Count(); ++c) {
            DeviceCombo* combo = static_cast<DeviceCombo*>(device->deviceCombos->ItemAt(c));
            if (combo->isWindowed == windowed) {
                *deviceOut = device;
                return combo;
            }
        }
    }
    return nullptr;
}

// Ends the settings dialog with the given button as soon as it shows.
UINT_PTR CloseDialogSoon(WORD button) {
    static WORD pressed;
    pressed = button;
    return SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (activeSettingsDialog && activeSettingsDialog->dialogWindow) {
            PostMessageA(activeSettingsDialog->dialogWindow, WM_COMMAND, pressed, 0);
        }
    });
}

class DisplayModeTest : public FrameworkDeviceTest {
protected:
    // Resizes the window as a drag does: its WM_SIZE comes inside a size-move loop, so only the
    // HandleSizeChange a test calls acts on it.
    void DragResize(int width, int height) {
        app->inSizeMoveLoop = true;
        SetWindowPos(app->mainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        app->inSizeMoveLoop = false;
    }
};

TEST_F(DisplayModeTest, ToggleOnTheSameAdapterAndDeviceTypeResetsIntoTheFullscreenMode) {
    ASSERT_EQ(Start(), S_OK);
    app->log.clear();
    EXPECT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_FALSE(app->windowed);
    EXPECT_FALSE(app->settings.isWindowed);
    EXPECT_EQ(creations.size(), 1u);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "RestoreDeviceResources"}));
    const D3DPRESENT_PARAMETERS& parameters = Device()->presentParameters;
    EXPECT_FALSE(parameters.Windowed);
    EXPECT_EQ(parameters.BackBufferWidth, 1024u);
    EXPECT_EQ(parameters.BackBufferHeight, 768u);
    EXPECT_EQ(parameters.FullScreen_RefreshRateInHz, 60u);
    EXPECT_EQ(parameters.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(app->mainWindow, GWL_STYLE)) & ~WS_CLIPSIBLINGS, kFullscreenStyle);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_FALSE(app->suppressSizeHandling);

    EXPECT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_TRUE(app->windowed);
    EXPECT_TRUE(Device()->presentParameters.Windowed);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 400u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(app->mainWindow, GWL_STYLE)) & ~WS_VISIBLE, app->windowedStyle & ~WS_VISIBLE);
}

TEST_F(DisplayModeTest, ToggleToAnotherDeviceTypeRecreatesTheDevice) {
    ASSERT_EQ(Start(), S_OK);
    DeviceInfo* reference = nullptr;
    DeviceCombo* combo = FindCombo(*app, D3DDEVTYPE_REF, false, &reference);
    ASSERT_NE(combo, nullptr);
    app->settings.fullscreenDeviceInfo = reference;
    app->settings.fullscreenDeviceCombo = combo;
    app->log.clear();
    EXPECT_EQ(app->ToggleFullscreen(), S_OK);
    ASSERT_EQ(creations.size(), 2u);
    EXPECT_EQ(creations[1].deviceType, D3DDEVTYPE_REF);
    EXPECT_FALSE(creations[1].presentParameters.Windowed);
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "DestroyDeviceResources", "CreateDeviceResources",
                             "RestoreDeviceResources"}));
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

TEST_F(DisplayModeTest, FailedToggleReturnsToWindowedModeAndEndsTheApplication) {
    ASSERT_EQ(Start(), S_OK);
    Device()->resetResult = E_FAIL;
    EXPECT_EQ(app->ToggleFullscreen(), AppErrorResetFailed);
    EXPECT_TRUE(app->settings.isWindowed);
    EXPECT_FALSE(app->suppressSizeHandling);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text.rfind("Could not reset the Direct3D device.", 0), 0u);
    EXPECT_EQ(app->mainWindow, nullptr) << "the fatal report closed the window";
}

TEST_F(DisplayModeTest, ToggleOutOfVideoMemoryKeepsItsOwnMessage) {
    ASSERT_EQ(Start(), S_OK);
    Device()->resetResult = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(app->ToggleFullscreen(), D3DERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text.rfind("Not enough video memory.", 0), 0u);
}

TEST_F(DisplayModeTest, ToggleCommandShowsOneBoxForAFailedSwitch) {
    ASSERT_EQ(Start(), S_OK);
    Device()->resetResult = E_FAIL;
    SendMessageA(app->mainWindow, WM_COMMAND, 40003, 0);
    EXPECT_EQ(fake_platform::messageBoxes.size(), 1u);
}

TEST_F(DisplayModeTest, ToggleWithoutAFullscreenConfigurationChangesNothing) {
    ASSERT_EQ(Start(), S_OK);
    app->settings.fullscreenDeviceCombo = nullptr;
    EXPECT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(Device()->resetCount, 0);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

// Without a window manager Wine and the device minimise and restore a fullscreen window as the
// focus comes and goes, so the switch back may end on an icon. Restored, the window must come back
// at the rectangle it had as a window, not at the display's, which it had when it was minimised.
class MinimisedRoundTrip : public DisplayModeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MinimisedRoundTrip, RestoredWindowComesBackAtItsWindowedRectangle) {
    const bool minimiseDuringSwitchBack = GetParam();
    ASSERT_EQ(Start(true), S_OK);
    SetWindowPos(app->mainWindow, nullptr, 71, 43, 430, 320, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT before = {};
    GetWindowRect(app->mainWindow, &before);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    // The real device stretches the window over the display; the fake leaves it.
    SetWindowPos(app->mainWindow, HWND_TOPMOST, 0, 0, 1024, 768, SWP_NOACTIVATE);
    if (minimiseDuringSwitchBack) {
        app->onOperation = [this](const std::string& operation) {
            if (operation == "ReleaseDeviceResources") ShowWindow(app->mainWindow, SW_MINIMIZE);
        };
    } else {
        ShowWindow(app->mainWindow, SW_MINIMIZE);
    }
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    app->onOperation = nullptr;
    ASSERT_TRUE(IsIconic(app->mainWindow));
    ShowWindow(app->mainWindow, SW_RESTORE);
    RECT after = {};
    GetWindowRect(app->mainWindow, &after);
    EXPECT_TRUE(EqualRect(&after, &before)) << after.left << "," << after.top << " " << after.right - after.left << "x"
                                            << after.bottom - after.top;
    EXPECT_TRUE(EqualRect(&app->windowedBounds, &before));
    EXPECT_EQ(app->presentParams.BackBufferWidth, 424u) << "the back buffer follows the restored client area";
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(MinimisedInFullscreen, MinimisedRoundTrip, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "DuringTheSwitchBack" : "BeforeTheSwitchBack");
                         });

// Leaving fullscreen, the reset (or the release of the old device) waits for the frames still
// being drawn: seconds at the display's size on a software rasteriser. The window must be back at
// its rectangle before then, and come back in the style it had.
class BackToWindowed : public DisplayModeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BackToWindowed, WindowIsAtItsRectangleBeforeTheDeviceLetsGoOfFullscreen) {
    ASSERT_EQ(Start(true), S_OK);
    if (GetParam()) {
        DeviceInfo* reference = nullptr;
        app->settings.fullscreenDeviceCombo = FindCombo(*app, D3DDEVTYPE_REF, false, &reference);
        ASSERT_NE(app->settings.fullscreenDeviceCombo, nullptr);
        app->settings.fullscreenDeviceInfo = reference;
    }
    SetWindowPos(app->mainWindow, nullptr, 71, 43, 430, 320, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT before = {};
    GetWindowRect(app->mainWindow, &before);
    const LONG styleBefore = GetWindowLongA(app->mainWindow, GWL_STYLE);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    // The real device stretches the window over the display; the fake leaves it.
    SetWindowPos(app->mainWindow, HWND_TOPMOST, 0, 0, 1024, 768, SWP_NOACTIVATE);

    RECT atRelease = {};
    app->onOperation = [&](const std::string& operation) {
        if (operation == "ReleaseDeviceResources") GetWindowRect(app->mainWindow, &atRelease);
    };
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    app->onOperation = nullptr;
    EXPECT_EQ(creations.size(), GetParam() ? 3u : 1u);
    EXPECT_TRUE(EqualRect(&atRelease, &before)) << atRelease.left << "," << atRelease.top << " "
                                                << atRelease.right - atRelease.left << "x"
                                                << atRelease.bottom - atRelease.top;
    EXPECT_EQ(GetWindowLongA(app->mainWindow, GWL_STYLE), styleBefore);
    EXPECT_EQ(app->presentParams.BackBufferWidth, 424u);
}

INSTANTIATE_TEST_SUITE_P(ResetOrNewDevice, BackToWindowed, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "OntoAnotherDevice" : "ByReset");
                         });

TEST_F(DisplayModeTest, FullscreenTakesTheMenuOffTheWindowAndWindowedModePutsItBack) {
    ASSERT_EQ(Start(true), S_OK);
    const HMENU menu = GetMenu(app->mainWindow);
    ASSERT_NE(menu, nullptr);
    app->windowed = false;
    app->ApplyWindowStyleForMode();
    EXPECT_EQ(GetMenu(app->mainWindow), nullptr);
    EXPECT_EQ(app->detachedMenu, menu);
    app->ApplyWindowStyleForMode();
    EXPECT_EQ(app->detachedMenu, menu) << "a second fullscreen call keeps the menu it took";
    app->windowed = true;
    app->ApplyWindowStyleForMode();
    EXPECT_EQ(GetMenu(app->mainWindow), menu);
    EXPECT_EQ(app->detachedMenu, nullptr);
}

TEST_F(DisplayModeTest, ResizeResetsTheDeviceToTheNewClientSizeWhilePaused) {
    ASSERT_EQ(Start(), S_OK);
    EXPECT_EQ(app->HandleSizeChange(), S_OK);
    EXPECT_EQ(Device()->resetCount, 0) << "the same size does nothing";

    int pauseCountAtRestore = 0;
    app->onOperation = [&](const std::string& operation) {
        if (operation == "RestoreDeviceResources") pauseCountAtRestore = framework_test_hooks::PauseCount();
    };
    DragResize(500, 350);
    EXPECT_EQ(app->HandleSizeChange(), S_OK);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 500u);
    EXPECT_EQ(Device()->presentParameters.BackBufferHeight, 350u);
    EXPECT_EQ(app->backBufferDesc.Width, 500u);
    EXPECT_EQ(pauseCountAtRestore, 1);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_EQ(app->windowedBounds.right - app->windowedBounds.left, 500);
}

TEST_F(DisplayModeTest, ResizeIsIgnoredDuringASwitch) {
    ASSERT_EQ(Start(), S_OK);
    app->suppressSizeHandling = true;
    SetWindowPos(app->mainWindow, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(app->HandleSizeChange(), S_OK);
    EXPECT_EQ(Device()->resetCount, 0);
    EXPECT_EQ(app->clientRect.right, 400) << "not even the rectangles are refreshed";
}

TEST_F(DisplayModeTest, FailedResizeIsFatalAndUndoesItsPause) {
    ASSERT_EQ(Start(), S_OK);
    Device()->resetResult = D3DERR_DRIVERINTERNALERROR;
    DragResize(500, 350);
    EXPECT_EQ(app->HandleSizeChange(), AppErrorResetFailed);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(DisplayModeTest, ResizeWithoutADeviceOnlyRemembersTheSize) {
    ASSERT_EQ(Start(), S_OK);
    app->ReleaseDevice();
    DragResize(500, 350);
    EXPECT_EQ(app->HandleSizeChange(), S_OK);
    EXPECT_EQ(app->presentParams.BackBufferWidth, 500u);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

TEST_F(DisplayModeTest, CancelledDialogLeavesTheDeviceButAFullscreenDeviceIsSwitchedFirst) {
    ASSERT_EQ(Start(true), S_OK);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    app->log.clear();
    const UINT_PTR timer = CloseDialogSoon(IDCANCEL);
    EXPECT_EQ(app->ChangeDeviceFromDialog(), S_OK);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(creations.size(), 1u);
    // Only the switch's reset, and one frame so that the dialog stands over a drawn window.
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "RestoreDeviceResources", "RenderFrame"}));
}

TEST_F(DisplayModeTest, AcceptedDialogRebuildsTheDeviceAndRequestsAFrameInSingleFrameMode) {
    ASSERT_EQ(Start(true), S_OK);
    app->updateContinuously = false;
    app->log.clear();
    const UINT_PTR timer = CloseDialogSoon(IDOK);
    EXPECT_EQ(app->ChangeDeviceFromDialog(), S_OK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(creations.size(), 2u);
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "DestroyDeviceResources", "CreateDeviceResources",
                             "RestoreDeviceResources"}));
    EXPECT_TRUE(app->stepPending);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

// A reset or a new device in single-frame mode shows one frame of it, each command's request is
// drawn, and P then resumes continuous drawing from its first pass on (a timer left stopped by
// the reset would freeze the picture for good).
struct SingleFrameChange {
    const char* name;
    bool realWindow;  // the settings dialog wants an owner on the display
    HRESULT (*change)(ApplicationFramework& app, fakes::FakeDevice& device);
};

void PrintTo(const SingleFrameChange& change, std::ostream* out) { *out << change.name; }

class SingleFrameResume : public DisplayModeTest, public ::testing::WithParamInterface<SingleFrameChange> {};

TEST_P(SingleFrameResume, OneFrameOfTheNewDeviceThenPResumesAtOnce) {
    ASSERT_EQ(Start(GetParam().realWindow), S_OK);
    app->updateContinuously = false;  // P
    Wait(10);
    ASSERT_EQ(GetParam().change(*app, *Device()), S_OK);
    ASSERT_NE(Device(), nullptr);
    app->log.clear();
    for (int pass = 0; pass < 2; ++pass) {
        Wait(10);
        ASSERT_EQ(app->StepFrame(), S_OK);
    }
    EXPECT_EQ(app->Count("RenderFrame"), 1) << "one frame of the new device, then nothing";
    app->stepPending = true;  // a viewer command asks for its frame
    ASSERT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->Count("RenderFrame"), 2);

    app->updateContinuously = true;  // P again: the viewer requests a frame as it resumes
    app->stepPending = true;
    for (int pass = 1; pass <= 3; ++pass) {
        Wait(10);
        ASSERT_EQ(app->StepFrame(), S_OK);
        EXPECT_EQ(app->Count("RenderFrame"), 2 + pass) << "resumed pass " << pass;
    }
    EXPECT_NEAR(app->frameElapsed, 0.010f, 1e-6f) << "time runs again";
}

INSTANTIATE_TEST_SUITE_P(
    DeviceChanges, SingleFrameResume,
    ::testing::Values(
        SingleFrameChange{"Reset", false, [](ApplicationFramework& app, fakes::FakeDevice&) { return app.ResetDevice(); }},
        SingleFrameChange{"LostDeviceReset", false,
                          [](ApplicationFramework& app, fakes::FakeDevice& device) {
                              app.deviceLost = true;
                              device.testCooperativeLevelResults = {D3DERR_DEVICENOTRESET};
                              return app.StepFrame();
                          }},
        SingleFrameChange{"AltEnterPair", false,
                          [](ApplicationFramework& app, fakes::FakeDevice&) {
                              const HRESULT result = app.ToggleFullscreen();
                              return FAILED(result) ? result : app.ToggleFullscreen();
                          }},
        SingleFrameChange{"AltEnterOntoAnotherDevice", false,
                          [](ApplicationFramework& app, fakes::FakeDevice&) {
                              DeviceInfo* reference = nullptr;
                              DeviceCombo* combo = FindCombo(app, D3DDEVTYPE_REF, false, &reference);
                              if (!combo) return E_FAIL;
                              app.settings.fullscreenDeviceInfo = reference;
                              app.settings.fullscreenDeviceCombo = combo;
                              return app.ToggleFullscreen();
                          }},
        SingleFrameChange{"SettingsDialogOk", true,
                          [](ApplicationFramework& app, fakes::FakeDevice&) {
                              const UINT_PTR timer = CloseDialogSoon(IDOK);
                              const HRESULT result = app.ChangeDeviceFromDialog();
                              KillTimer(nullptr, timer);
                              return result;
                          }}),
    [](const ::testing::TestParamInfo<SingleFrameChange>& info) { return std::string(info.param.name); });

}  // namespace
