// The settings dialog as it opens: the order of the posted cascade, what each list holds and
// selects for a windowed and a fullscreen configuration, and what OK and Cancel hand back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "settings_dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "sample_tree.h"

namespace dialog_test {
namespace {

TEST(SettingsDialogOpening, WindowedShowsTheDesktopModeDisabledAndWindowedCombosOnly) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    DialogDriver::Run(dialog, [&](DialogDriver& ui) {
        // Resolution and refresh rate run, and change nothing, before the back buffer.
        EXPECT_EQ(ui.TakeNotifications(),
                  (Ids{IDC_ADAPTER_COMBO, IDC_DEVICE_COMBO, IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO,
                       IDC_REFRESHRATE_COMBO, IDC_BACKBUFFERFORMAT_COMBO, IDC_DEPTHSTENCILBUFFERFORMAT_COMBO,
                       IDC_VERTEXPROCESSING_COMBO, IDC_PRESENTINTERVAL_COMBO, IDC_MULTISAMPLE_COMBO,
                       IDC_MULTISAMPLE_QUALITY_COMBO}));

        EXPECT_EQ(ui.Texts(IDC_ADAPTER_COMBO), (Texts{"First Test Adapter", "Second Test Adapter"}));
        EXPECT_EQ(ui.SelectedData(IDC_ADAPTER_COMBO), reinterpret_cast<UINT_PTR>(tree.first));
        EXPECT_EQ(ui.Texts(IDC_DEVICE_COMBO), (Texts{"D3DDEVTYPE_HAL", "D3DDEVTYPE_SW", "D3DDEVTYPE_REF"}));
        EXPECT_EQ(ui.SelectedData(IDC_DEVICE_COMBO), reinterpret_cast<UINT_PTR>(tree.hal));

        EXPECT_TRUE(ui.Checked(IDC_WINDOW));
        EXPECT_FALSE(ui.Checked(IDC_FULLSCREEN));
        EXPECT_TRUE(ui.Enabled(IDC_WINDOW));
        EXPECT_TRUE(ui.Enabled(IDC_FULLSCREEN));

        EXPECT_EQ(ui.Texts(IDC_ADAPTERFORMAT_COMBO), Texts{"D3DFMT_X8R8G8B8"});
        EXPECT_EQ(ui.SelectedData(IDC_ADAPTERFORMAT_COMBO), static_cast<UINT_PTR>(D3DFMT_X8R8G8B8));
        EXPECT_EQ(ui.Texts(IDC_RESOLUTION_COMBO), Texts{"1280 by 1024"});
        EXPECT_EQ(ui.SelectedData(IDC_RESOLUTION_COMBO), static_cast<UINT_PTR>((1024 << 16) | 1280));
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), Texts{"60 Hz"});
        EXPECT_EQ(ui.SelectedData(IDC_REFRESHRATE_COMBO), 60u);
        for (int id : {IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO, IDC_REFRESHRATE_COMBO}) {
            EXPECT_FALSE(ui.Enabled(id)) << id;
        }

        // The R5G6B5 windowed combo does not match the desktop format.
        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), (Texts{"D3DFMT_A8R8G8B8", "D3DFMT_X8R8G8B8"}));
        EXPECT_EQ(ui.SelectedText(IDC_BACKBUFFERFORMAT_COMBO), "D3DFMT_X8R8G8B8");
        EXPECT_EQ(ui.Texts(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), Texts{"(not used)"});
        EXPECT_EQ(ui.Data(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), std::vector<UINT_PTR>{0});
        EXPECT_EQ(ui.Selection(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), 0);
        EXPECT_FALSE(ui.Enabled(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO));

        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_COMBO),
                  (Texts{"D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_2_SAMPLES", "D3DMULTISAMPLE_4_SAMPLES"}));
        EXPECT_EQ(ui.SelectedData(IDC_MULTISAMPLE_COMBO), static_cast<UINT_PTR>(D3DMULTISAMPLE_2_SAMPLES));
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_QUALITY_COMBO), (Texts{"0", "1", "2"}));
        EXPECT_EQ(ui.Data(IDC_MULTISAMPLE_QUALITY_COMBO), (std::vector<UINT_PTR>{0, 1, 2}));
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_QUALITY_COMBO), "1");
        EXPECT_EQ(ui.Texts(IDC_VERTEXPROCESSING_COMBO), (Texts{"HARDWARE_VP", "SOFTWARE_VP"}));
        EXPECT_EQ(ui.SelectedData(IDC_VERTEXPROCESSING_COMBO), static_cast<UINT_PTR>(HARDWARE_VP));
        EXPECT_EQ(ui.Texts(IDC_PRESENTINTERVAL_COMBO),
                  (Texts{"D3DPRESENT_INTERVAL_IMMEDIATE", "D3DPRESENT_INTERVAL_DEFAULT", "D3DPRESENT_INTERVAL_ONE"}));
        EXPECT_EQ(ui.SelectedData(IDC_PRESENTINTERVAL_COMBO), static_cast<UINT_PTR>(D3DPRESENT_INTERVAL_IMMEDIATE));
    });
}

TEST(SettingsDialogOpening, FullscreenOffersTheAdaptersModesWithTheStoredOnesSelected) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Fullscreen());
    DialogDriver::Run(dialog, [&](DialogDriver& ui) {
        EXPECT_EQ(ui.TakeNotifications(),
                  (Ids{IDC_ADAPTER_COMBO, IDC_DEVICE_COMBO, IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO,
                       IDC_BACKBUFFERFORMAT_COMBO, IDC_REFRESHRATE_COMBO, IDC_DEPTHSTENCILBUFFERFORMAT_COMBO,
                       IDC_VERTEXPROCESSING_COMBO, IDC_PRESENTINTERVAL_COMBO, IDC_MULTISAMPLE_COMBO,
                       IDC_MULTISAMPLE_QUALITY_COMBO}));

        EXPECT_FALSE(ui.Checked(IDC_WINDOW));
        EXPECT_TRUE(ui.Checked(IDC_FULLSCREEN));
        for (int id : {IDC_ADAPTERFORMAT_COMBO, IDC_RESOLUTION_COMBO, IDC_REFRESHRATE_COMBO}) {
            EXPECT_TRUE(ui.Enabled(id)) << id;
        }
        EXPECT_EQ(ui.Texts(IDC_ADAPTERFORMAT_COMBO), (Texts{"D3DFMT_X8R8G8B8", "D3DFMT_R5G6B5"}));
        EXPECT_EQ(ui.SelectedText(IDC_ADAPTERFORMAT_COMBO), "D3DFMT_X8R8G8B8");
        // Sizes of the X8R8G8B8 modes, each once; the R5G6B5 mode is left out.
        EXPECT_EQ(ui.Texts(IDC_RESOLUTION_COMBO), (Texts{"640 by 480", "800 by 600", "1024 by 768"}));
        EXPECT_EQ(ui.Data(IDC_RESOLUTION_COMBO),
                  (std::vector<UINT_PTR>{(480 << 16) | 640, (600 << 16) | 800, (768 << 16) | 1024}));
        EXPECT_EQ(ui.SelectedText(IDC_RESOLUTION_COMBO), "800 by 600");
        EXPECT_EQ(ui.Texts(IDC_REFRESHRATE_COMBO), (Texts{"Default Rate", "60 Hz", "85 Hz"}));
        EXPECT_EQ(ui.Data(IDC_REFRESHRATE_COMBO), (std::vector<UINT_PTR>{0, 60, 85}));
        EXPECT_EQ(ui.SelectedText(IDC_REFRESHRATE_COMBO), "85 Hz");

        EXPECT_EQ(ui.Texts(IDC_BACKBUFFERFORMAT_COMBO), (Texts{"D3DFMT_A8R8G8B8", "D3DFMT_X8R8G8B8"}));
        EXPECT_EQ(ui.SelectedText(IDC_BACKBUFFERFORMAT_COMBO), "D3DFMT_A8R8G8B8");
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_COMBO),
                  (Texts{"D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_2_SAMPLES", "D3DMULTISAMPLE_4_SAMPLES"}));
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_COMBO), "D3DMULTISAMPLE_2_SAMPLES");
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_QUALITY_COMBO), "1");
        EXPECT_EQ(ui.SelectedText(IDC_VERTEXPROCESSING_COMBO), "SOFTWARE_VP");
        EXPECT_EQ(ui.Texts(IDC_PRESENTINTERVAL_COMBO),
                  (Texts{"D3DPRESENT_INTERVAL_IMMEDIATE", "D3DPRESENT_INTERVAL_DEFAULT", "D3DPRESENT_INTERVAL_ONE",
                         "D3DPRESENT_INTERVAL_TWO"}));
        EXPECT_EQ(ui.SelectedText(IDC_PRESENTINTERVAL_COMBO), "D3DPRESENT_INTERVAL_ONE");
    });
}

TEST(SettingsDialogOpening, OkWithoutChangesReturnsTheSettingsAsTheyWere) {
    SampleTree tree;
    for (const DeviceSettings& original : {tree.Windowed(), tree.Fullscreen()}) {
        SCOPED_TRACE(original.isWindowed ? "windowed" : "fullscreen");
        SettingsDialog dialog(&tree.enumeration, original);
        INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) { ui.Press(IDOK); });
        EXPECT_EQ(result, IDOK);
        ExpectSameSettings(dialog.settings, original);
    }
}

TEST(SettingsDialogOpening, CancelAndTheCloseBoxReturnIdcancel) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.Windowed());
    EXPECT_EQ(DialogDriver::Run(dialog, [](DialogDriver& ui) { ui.Press(IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(DialogDriver::Run(dialog, [](DialogDriver& ui) { ui.Close(); }), IDCANCEL);
}

TEST(SettingsDialogOpening, StoredValuesNoLongerOfferedGiveWayToTheFirstItem) {
    SampleTree tree;
    DeviceSettings original = tree.Windowed();
    original.multisampleType = D3DMULTISAMPLE_8_SAMPLES;
    original.multisampleQuality = 1;
    original.windowedVertexProcessing = PURE_HARDWARE_VP;
    original.windowedPresentInterval = D3DPRESENT_INTERVAL_FOUR;
    SettingsDialog dialog(&tree.enumeration, original);
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        EXPECT_EQ(ui.SelectedText(IDC_MULTISAMPLE_COMBO), "D3DMULTISAMPLE_NONE");
        // One quality level for no multisampling: quality 1 is not offered.
        EXPECT_EQ(ui.Texts(IDC_MULTISAMPLE_QUALITY_COMBO), Texts{"0"});
        EXPECT_EQ(ui.Selection(IDC_MULTISAMPLE_QUALITY_COMBO), 0);
        EXPECT_EQ(ui.SelectedText(IDC_VERTEXPROCESSING_COMBO), "HARDWARE_VP");
        EXPECT_EQ(ui.SelectedText(IDC_PRESENTINTERVAL_COMBO), "D3DPRESENT_INTERVAL_IMMEDIATE");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    DeviceSettings expected = original;
    expected.multisampleType = D3DMULTISAMPLE_NONE;
    expected.multisampleQuality = 0;
    expected.windowedVertexProcessing = HARDWARE_VP;
    expected.windowedPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ExpectSameSettings(dialog.settings, expected);
}

TEST(SettingsDialogOpening, AFullscreenHalfNeverChosenStartsFromTheFirstItems) {
    SampleTree tree;
    DeviceSettings original = tree.Fullscreen();
    original.fullscreenAdapterInfo = nullptr;
    original.fullscreenDeviceInfo = nullptr;
    original.fullscreenDeviceCombo = nullptr;
    SettingsDialog dialog(&tree.enumeration, original);
    INT_PTR result = DialogDriver::Run(dialog, [](DialogDriver& ui) {
        EXPECT_EQ(ui.SelectedText(IDC_ADAPTER_COMBO), "First Test Adapter");
        EXPECT_EQ(ui.SelectedText(IDC_DEVICE_COMBO), "D3DDEVTYPE_HAL");
        EXPECT_EQ(ui.SelectedText(IDC_BACKBUFFERFORMAT_COMBO), "D3DFMT_A8R8G8B8");
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(dialog.settings.isWindowed);
    EXPECT_EQ(dialog.settings.fullscreenAdapterInfo, tree.first);
    EXPECT_EQ(dialog.settings.fullscreenDeviceInfo, tree.hal);
    EXPECT_EQ(dialog.settings.fullscreenDeviceCombo, tree.halFullA8);
}

TEST(SettingsDialogOpening, TheAdapterOfTheCurrentComboIsSelected) {
    SampleTree tree;
    SettingsDialog dialog(&tree.enumeration, tree.WindowedOnSecond());
    INT_PTR result = DialogDriver::Run(dialog, [&](DialogDriver& ui) {
        EXPECT_EQ(ui.SelectedText(IDC_ADAPTER_COMBO), "Second Test Adapter");
        EXPECT_EQ(ui.Texts(IDC_DEVICE_COMBO), Texts{"D3DDEVTYPE_HAL"});
        EXPECT_EQ(ui.SelectedData(IDC_DEVICE_COMBO), reinterpret_cast<UINT_PTR>(tree.secondHal));
        ui.Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    tree.ExpectWindowedOnSecond(dialog.settings);
}

TEST(SettingsDialogOpening, AnUnterminatedAdapterDescriptionIsCutTo511Characters) {
    DeviceEnumeration enumeration;
    AdapterInfo* adapter = AddAdapter(enumeration, 0, std::string(600, 'x').c_str());
    AddCombo(AddDevice(adapter, D3DDEVTYPE_HAL), D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
    DeviceSettings settings;
    settings.windowedDisplayMode = Mode(1024, 768, 60, D3DFMT_X8R8G8B8);
    SettingsDialog dialog(&enumeration, settings);
    DialogDriver::Run(dialog, [](DialogDriver& ui) {
        EXPECT_EQ(ui.Texts(IDC_ADAPTER_COMBO), Texts{std::string(511, 'x')});
    });
}

}  // namespace
}  // namespace dialog_test
