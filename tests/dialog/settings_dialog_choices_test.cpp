// The settings dialog reacting to the user: switching between windowed and fullscreen, devices
// that offer only one of them, the mode, format and multisample lists narrowing each other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "settings_dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "sample_tree.h"

namespace dialog_test {
namespace {

TEST(SettingsDialogWindowMode, FullscreenOffersEveryAdapterFormatOnceAndEnablesTheModeLists) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.TakeNotifications();
        ui.Click(IDC_FULLSCREEN);
        EXPECT_TRUE(ui.Checked(IDC_FULLSCREEN));
        EXPECT_EQ(ui.TakeNotifications(),
                  (Ids{IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO, IDC_BACKBUFFERFORMAT_COMBO,
                       IDC_REFRESHRATE_COMBO, IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, IDC_VERTEXPROCESSING_COMBO,
                       IDC_PRESENTINTERVAL_COMBO, IDC_MULTISAMPLE_COMBO, IDC_MULTISAMPLE_QUALITY_COMBO}));
        // Six combos, windowed and fullscreen, in two adapter formats.
        EXPECT_EQ(ui.Texts(IDC_ADAPTERFORMAT_COMBO), (Texts{"D3DFMT_X8R8G8B8", "D3DFMT_R5G6B5"}));
        EXPECT_EQ(ui.SelectedText(IDC_ADAPTERFORMAT_COMBO), "D3DFMT_X8R8G8B8");
        for (int id : {IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO, IDC_REFRESHRATE_COMBO}) {
            EXPECT_TRUE(ui.Enabled(id)) << id;
        }
        EXPECT_EQ(ui.SelectedText(IDC_RESOLUTION_COMBO), "800 by 600");
        EXPECT_EQ(ui.SelectedText(IDC_REFRESHRATE_COMBO), "85 Hz");
        EXPECT_EQ(ui.SelectedText(IDC_BACKBUFFERFORMAT_COMBO), "D3DFMT_A8R8G8B8");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    DeviceSettings expected = tree.Fullscreen();
    ExpectSameSettings(dialog.settings, expected);
}

TEST(SettingsDialogWindowMode, BackToWindowedShowsTheDesktopModeDisabledAgain) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Fullscreen());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Click(IDC_WINDOW);
        EXPECT_TRUE(ui.Checked(IDC_WINDOW));
        EXPECT_EQ(ui.Texts(IDC_ADAPTERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        EXPECT_EQ(ui.Texts(IDC_RESOLUTION_COMBO), Texts{"1280 by 1024"});
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), Texts{"60 Hz"});
        for (int id : {IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO, IDC_REFRESHRATE_COMBO}) {
            EXPECT_FALSE(ui.Enabled(id)) << id;
            EXPECT_EQ(ui.Selection(id), 0) << id;
        }
        EXPECT_EQ(ui.SelectedText(IDC_BACKBUFFERFORMAT_COMBO), "D3DFMT_X8R8G8B8");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    // The fullscreen half keeps its mode: the windowed refill must not overwrite it.
    ExpectSameSettings(dialog.settings, tree.Windowed());
}

// A device with combos of one half only: that half chosen, the other's button disabled, and the
// adapter format (fixed to the desktop's when windowed) open only when fullscreen.
void ExpectOnlyHalfOffered(const DialogDriver& ui, bool windowed) {
    EXPECT_EQ(ui.Enabled(IDC_WINDOW), windowed);
    EXPECT_EQ(ui.Enabled(IDC_FULLSCREEN), !windowed);
    EXPECT_EQ(ui.Checked(IDC_WINDOW), windowed);
    EXPECT_EQ(ui.Checked(IDC_FULLSCREEN), !windowed);
    EXPECT_EQ(ui.Enabled(IDC_ADAPTERFORMAT_COMBO), !windowed);
}

TEST(SettingsDialogWindowMode, ADeviceWithOnlyFullscreenCombosForcesFullscreen) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_DEVICE_COMBO, "D3DDEVTYPE_REF");
        ExpectOnlyHalfOffered(ui, false);
        EXPECT_EQ(ui.Texts(IDC_ADAPTERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        EXPECT_EQ(ui.Texts(IDC_PRESENTINTERVAL_COMBO),
                  (Texts{"D3DPRESENT_INTERVAL_DEFAULT", "D3DPRESENT_INTERVAL_ONE"}));
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(dialog.settings.isWindowed);
    EXPECT_EQ(dialog.settings.fullscreenDeviceInfo, tree.ref);
    EXPECT_EQ(dialog.settings.fullscreenDeviceCombo, tree.refFullX8);
    EXPECT_EQ(dialog.settings.fullscreenPresentInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_EQ(dialog.settings.multisampleType, D3DMULTISAMPLE_NONE);
}

TEST(SettingsDialogWindowMode, ADeviceWithOnlyWindowedCombosStaysWindowed) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Fullscreen());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_DEVICE_COMBO, "D3DDEVTYPE_SW");
        ExpectOnlyHalfOffered(ui, true);
        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(dialog.settings.isWindowed);
    EXPECT_EQ(dialog.settings.windowedDeviceInfo, tree.sw);
    EXPECT_EQ(dialog.settings.windowedDeviceCombo, tree.swWinX8);
}

TEST(SettingsDialogModes, EachSizeAndEachRateIsListedOnceInAscendingOrder) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Fullscreen());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_RESOLUTION_COMBO, "640 by 480");
        EXPECT_EQ(ui.TakeNotifications().back(), IDC_REFRESHRATE_COMBO);
        // 85 Hz is not offered at 640 by 480: the first rate stands in.
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), (Texts{"60 Hz", "75 Hz"}));
        EXPECT_EQ(ui.SelectedText(IDC_REFRESHRATE_COMBO), "60 Hz");
        ui.Choose(IDC_RESOLUTION_COMBO, "800 by 600");
        // The twice-reported 60 Hz mode appears once.
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), (Texts{"Default Rate", "60 Hz", "85 Hz"}));
        ui.Choose(IDC_REFRESHRATE_COMBO, "Default Rate");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ExpectSameMode(dialog.settings.fullscreenDisplayMode, Mode(800, 600, 0, D3DFMT_X8R8G8B8), "fullscreen");
}

TEST(SettingsDialogModes, AnotherAdapterFormatNarrowsResolutionsAndBackBuffers) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Fullscreen());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_ADAPTERFORMAT_COMBO, "D3DFMT_R5G6B5");
        EXPECT_EQ(ui.Texts(IDC_RESOLUTION_COMBO), Texts{"640 by 480"});
        EXPECT_EQ(ui.Selection(IDC_RESOLUTION_COMBO), 0);
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), Texts{"60 Hz"});
        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), Texts{"D3DFMT_R5G6B5"});
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_COMBO), Texts{"D3DMULTISAMPLE_NONE"});
        EXPECT_EQ(ui.Texts(IDC_VERTEXPROCESSING_COMBO), Texts{"SOFTWARE_VP"});
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.fullscreenDeviceCombo, tree.halFullR5);
    ExpectSameMode(dialog.settings.fullscreenDisplayMode, Mode(640, 480, 60, D3DFMT_R5G6B5), "fullscreen");
    EXPECT_EQ(dialog.settings.multisampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(dialog.settings.multisampleQuality, 0u);
}

TEST(SettingsDialogChoices, TheQualityListFollowsTheLevelCountOfTheType) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_MULTISAMPLE_QUALITY_COMBO, "2");
        ui.TakeNotifications();
        // A count of 0 leaves the list empty and posts nothing for it.
        ui.Choose(IDC_MULTISAMPLE_COMBO, "D3DMULTISAMPLE_4_SAMPLES");
        EXPECT_EQ(ui.Count(IDC_MULTISAMPLE_QUALITY_COMBO), 0);
        EXPECT_EQ(ui.TakeNotifications(), Ids{});
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.multisampleType, D3DMULTISAMPLE_4_SAMPLES);
    EXPECT_EQ(dialog.settings.multisampleQuality, 2u);

    result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        ui.Choose(IDC_MULTISAMPLE_COMBO, "D3DMULTISAMPLE_2_SAMPLES");
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_QUALITY_COMBO), (Texts{"0", "1", "2"}));
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_QUALITY_COMBO), "2");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.multisampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(dialog.settings.multisampleQuality, 2u);
}

TEST(SettingsDialogChoices, ABackBufferFormatSelectsItsComboAndRefillsTheListsAfterIt) {
    SampleTree tree;
    DeviceSettings original = tree.Fullscreen();
    original.fullscreenVertexProcessing = PURE_HARDWARE_VP;
    SettingsDialog dialog(&tree.enumeration, original);
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        EXPECT_EQ(ui.SelectedText(IDC_VERTEXPROCESSING_COMBO), "HARDWARE_VP");
        ui.TakeNotifications();
        ui.Choose(IDC_BACKBUFFERFORMAT_COMBO, "D3DFMT_X8R8G8B8");
        EXPECT_EQ(ui.TakeNotifications(),
                  (Ids{IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, IDC_VERTEXPROCESSING_COMBO, IDC_PRESENTINTERVAL_COMBO,
                       IDC_MULTISAMPLE_COMBO, IDC_MULTISAMPLE_QUALITY_COMBO}));
        EXPECT_EQ(ui.Texts(IDC_VERTEXPROCESSING_COMBO), (Texts{"PURE_HARDWARE_VP", "HARDWARE_VP", "SOFTWARE_VP"}));
        // The vertex processing chosen a moment ago stands; the stored one is not restored.
        EXPECT_EQ(ui.SelectedText(IDC_VERTEXPROCESSING_COMBO), "HARDWARE_VP");
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_COMBO), "D3DMULTISAMPLE_2_SAMPLES");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.fullscreenDeviceCombo, tree.halFullX8);
    EXPECT_EQ(dialog.settings.fullscreenVertexProcessing, HARDWARE_VP);
    EXPECT_EQ(dialog.settings.windowedDeviceCombo, tree.halWinX8);
}

TEST(SettingsDialogChoices, ANotificationForAListWithoutSelectionKeepsTheStoredValue) {
    SampleTree tree;
    const DeviceSettings original = tree.Fullscreen();
    SettingsDialog dialog(&tree.enumeration, original);
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        // As a notification still queued when its list was emptied would find it.
        for (int id : {IDC_RESOLUTION_COMBO, IDC_REFRESHRATE_COMBO, IDC_MULTISAMPLE_COMBO,
                       IDC_MULTISAMPLE_QUALITY_COMBO, IDC_VERTEXPROCESSING_COMBO, IDC_PRESENTINTERVAL_COMBO}) {
            SendMessageA(ui.Item(id), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SendMessageA(ui.Window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(ui.Item(id)));
            ui.Drain();
        }
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ExpectSameSettings(dialog.settings, original);
}

TEST(SettingsDialogChoices, AnotherAdapterListsItsOwnDevices) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    INT_PTR result = DialogDriver::Run(dialog, [&](DialogDriver& ui) {
        ui.Choose(IDC_ADAPTER_COMBO, "Second Test Adapter");
        EXPECT_EQ(ui.Texts(IDC_DEVICE_COMBO), Texts{"D3DDEVTYPE_HAL"});
        EXPECT_EQ(ui.SelectedData(IDC_DEVICE_COMBO), reinterpret_cast<UINT_PTR>(tree.secondHal));
        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    tree.ExpectWindowedOnSecond(dialog.settings);
}

TEST(SettingsDialogChoices, WithADepthBufferTheFormatsAreOfferedAndConflictsFiltered) {
    DeviceEnumeration enumeration;
    enumeration.usesDepthBuffer = true;
    AdapterInfo* adapter = AddAdapter(enumeration, 0, "Depth Adapter");
    ComboOptions options;
    options.depthStencilFormats = {D3DFMT_D16, D3DFMT_D24S8};
    options.multisample = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_4_SAMPLES, 1}};
    options.depthMultisampleConflicts = {{D3DFMT_D24S8, D3DMULTISAMPLE_4_SAMPLES}};
    DeviceCombo* combo = AddCombo(AddDevice(adapter, D3DDEVTYPE_HAL), D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, options);
    DeviceSettings settings;
    settings.windowedAdapterInfo = adapter;
    settings.windowedDeviceCombo = combo;
    settings.windowedDisplayMode = Mode(1024, 768, 60, D3DFMT_X8R8G8B8);
    settings.windowedDepthStencilFormat = D3DFMT_D16;
    settings.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
    SettingsDialog dialog(&enumeration, settings);
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        EXPECT_TRUE(ui.Enabled(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO));
        EXPECT_EQ(ui.Texts(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), (Texts{"D3DFMT_D16", "D3DFMT_D24S8"}));
        EXPECT_EQ(ui.SelectedText(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), "D3DFMT_D16");
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_COMBO), (Texts{"D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_4_SAMPLES"}));
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_COMBO), "D3DMULTISAMPLE_4_SAMPLES");
        ui.Choose(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, "D3DFMT_D24S8");
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_COMBO), Texts{"D3DMULTISAMPLE_NONE"});
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_COMBO), "D3DMULTISAMPLE_NONE");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.windowedDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(dialog.settings.multisampleType, D3DMULTISAMPLE_NONE);
}

}  // namespace
}  // namespace dialog_test
