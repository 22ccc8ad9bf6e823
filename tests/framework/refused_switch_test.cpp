// Switches the implementation cannot make: a multisample mode it offers but cannot create is
// refused before the switch (F2 and Alt+Enter, onto the device in hand or another), and a switch
// that fails with a result code is undone; either way one warning, and the program goes on.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "settings_dialog/settings_dialog.h"
#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;

// Puts settings on the first windowed (or fullscreen) combo of type on adapter 0.
void UseCombo(ApplicationFramework& app, DeviceSettings& settings, D3DDEVTYPE type, bool windowed) {
    AdapterInfo* adapter = static_cast<AdapterInfo*>(app.enumeration.adapterInfos->ItemAt(0));
    for (UINT d = 0; d < adapter->deviceInfos->Count(); ++d) {
        DeviceInfo* info = static_cast<DeviceInfo*>(adapter->deviceInfos->ItemAt(d));
        for (UINT c = 0; info->deviceType == type && c < info->deviceCombos->Count(); ++c) {
            DeviceCombo* combo = static_cast<DeviceCombo*>(info->deviceCombos->ItemAt(c));
            if (combo->isWindowed != windowed) continue;
            settings.isWindowed = windowed;
            settings.SetCurrentDeviceInfo(info);
            settings.SetCurrentDeviceCombo(combo);
            return;
        }
    }
    FAIL() << "no such combo";
}

// What the user picks in the dialog before OK; each edit is made on the dialog's copy.
using DialogEdit = void (*)(ApplicationFramework& app, DeviceSettings& chosen);
ApplicationFramework* dialogApp = nullptr;
DialogEdit dialogEdit = nullptr;

HRESULT ChooseInDialog(ApplicationFramework& app, DialogEdit edit) {
    dialogApp = &app;
    dialogEdit = edit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (!activeSettingsDialog || !activeSettingsDialog->dialogWindow || !dialogEdit) return;
        dialogEdit(*dialogApp, activeSettingsDialog->settings);
        dialogEdit = nullptr;
        PostMessageA(activeSettingsDialog->dialogWindow, WM_COMMAND, IDOK, 0);
    });
    const HRESULT result = app.ChangeDeviceFromDialog();
    KillTimer(nullptr, timer);
    return result;
}

struct Switch {
    const char* name;
    HRESULT (*run)(ApplicationFramework& app);
};

void PrintTo(const Switch& change, std::ostream* out) { *out << change.name; }

class RefusedSwitch : public FrameworkDeviceTest, public ::testing::WithParamInterface<Switch> {};

// The implementation offers 4 samples but answers out of video memory for a target of them.
TEST_P(RefusedSwitch, IsRefusedWithAMessageAndTheDeviceGoesOnDrawing) {
    ASSERT_EQ(Start(true), S_OK);
    renderTargetModeResult = [](D3DMULTISAMPLE_TYPE type, DWORD) {
        return type == D3DMULTISAMPLE_4_SAMPLES ? D3DERR_OUTOFVIDEOMEMORY : D3D_OK;
    };
    fakes::FakeDevice* kept = Device();
    kept->renderTargetModeResult = renderTargetModeResult;
    const DeviceSettings before = app->settings;
    app->log.clear();

    EXPECT_EQ(GetParam().run(*app), S_OK);
    EXPECT_EQ(app->device, kept);
    EXPECT_EQ(kept->resetCount, 0);
    EXPECT_EQ(creations.back().deviceType == D3DDEVTYPE_REF ? 2u : 1u, creations.size())
        << "only a short-lived device of another type, to ask";
    EXPECT_TRUE(app->log.empty()) << "no resource released or restored";
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(app->settings.multisampleType, before.multisampleType);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    const std::string& text = fake_platform::messageBoxes[0].text;
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(text.rfind("The device offers this multisample mode but cannot create it:\nD3DMULTISAMPLE_4_SAMPLES, "
                         "quality 0, back buffer ", 0), 0u) << text;
    EXPECT_NE(text.find("CreateRenderTarget failed: D3DERR_OUTOFVIDEOMEMORY (0x8876017C) (likely cause: "), std::string::npos)
        << text;
    EXPECT_NE(text.find("The device and its settings stay as they were."), std::string::npos) << text;

    ASSERT_NE(app->mainWindow, nullptr);
    Wait(10);
    ASSERT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->Count("RenderFrame"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    ModesOfferedButNotMade, RefusedSwitch,
    ::testing::Values(
        Switch{"DialogWindowed",
               [](ApplicationFramework& app) {
                   return ChooseInDialog(app, [](ApplicationFramework&, DeviceSettings& chosen) {
                       chosen.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
                   });
               }},
        Switch{"DialogFullscreen",
               [](ApplicationFramework& app) {
                   return ChooseInDialog(app, [](ApplicationFramework& owner, DeviceSettings& chosen) {
                       UseCombo(owner, chosen, D3DDEVTYPE_HAL, false);
                       chosen.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
                   });
               }},
        Switch{"DialogOntoAnotherDeviceType",
               [](ApplicationFramework& app) {
                   return ChooseInDialog(app, [](ApplicationFramework& owner, DeviceSettings& chosen) {
                       UseCombo(owner, chosen, D3DDEVTYPE_REF, true);
                       chosen.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
                   });
               }},
        Switch{"AltEnter",
               [](ApplicationFramework& app) {
                   app.settings.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
                   SendMessageA(app.mainWindow, WM_COMMAND, 40003, 0);
                   app.settings.multisampleType = D3DMULTISAMPLE_NONE;
                   return S_OK;
               }}),
    [](const ::testing::TestParamInfo<Switch>& info) { return std::string(info.param.name); });

class UndoneSwitch : public FrameworkDeviceTest, public ::testing::WithParamInterface<Switch> {};

// A reference device that cannot be created: the switch onto it comes back to the hardware device.
TEST_P(UndoneSwitch, ComesBackToTheDeviceItHadWithAMessage) {
    ASSERT_EQ(Start(true), S_OK);
    createFailures[D3DDEVTYPE_REF] = D3DERR_NOTAVAILABLE;
    app->log.clear();

    EXPECT_EQ(GetParam().run(*app), S_OK);
    ASSERT_NE(app->mainWindow, nullptr);
    ASSERT_NE(app->device, nullptr);
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(app->settings.CurrentDeviceInfo()->deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(creations.back().deviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(creations.back().presentParameters.Windowed);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text,
              "The new settings could not be used:\nCreateDevice failed: D3DERR_NOTAVAILABLE (0x8876086A) "
              "(likely cause: the implementation does not offer this mode or format for a windowed device)."
              "\n\nThe device is back at the settings it had.");
    EXPECT_EQ(app->log, (std::vector<std::string>{"ReleaseDeviceResources", "DestroyDeviceResources",
                                                  "CreateDeviceResources", "RestoreDeviceResources"}));

    app->log.clear();
    Wait(10);
    ASSERT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->Count("RenderFrame"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    FailuresWithAResultCode, UndoneSwitch,
    ::testing::Values(
        Switch{"Dialog",
               [](ApplicationFramework& app) {
                   return ChooseInDialog(app, [](ApplicationFramework& owner, DeviceSettings& chosen) {
                       UseCombo(owner, chosen, D3DDEVTYPE_REF, true);
                   });
               }},
        Switch{"AltEnter",
               [](ApplicationFramework& app) {
                   UseCombo(app, app.settings, D3DDEVTYPE_REF, false);
                   app.settings.isWindowed = true;
                   SendMessageA(app.mainWindow, WM_COMMAND, 40003, 0);
                   return S_OK;
               }}),
    [](const ::testing::TestParamInfo<Switch>& info) { return std::string(info.param.name); });

}  // namespace
