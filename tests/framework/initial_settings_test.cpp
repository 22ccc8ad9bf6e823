// The start-up configuration: which windowed and which fullscreen configuration each search
// picks from an enumeration tree, the fullscreen display mode, and which half the program
// starts in.
#include <gtest/gtest.h>

#include "framework/error_reporting.h"
#include "support/enumeration_tree_builder.h"
#include "support/fake_direct3d.h"
#include "support/recording_application.h"

namespace {

using test_support::AddAdapter;
using test_support::AddCombo;
using test_support::AddDevice;
using test_support::AddDisplayMode;
using test_support::ComboOptions;
using test_support::FrameworkTest;
using test_support::RecordingApplication;

constexpr D3DFORMAT X8 = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT A8 = D3DFMT_A8R8G8B8;
constexpr D3DFORMAT R5 = D3DFMT_R5G6B5;

ComboOptions WithMultisample(D3DMULTISAMPLE_TYPE type) {
    ComboOptions options;
    options.multisample = {{type, 2}};
    return options;
}

class InitialSettingsTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        direct3d = new fakes::FakeDirect3D();
        app.direct3d = direct3d;
        SetRect(&app.clientRect, 0, 0, 512, 384);
    }
    void TearDown() override {
        app.direct3d = nullptr;
        direct3d->Release();
        FrameworkTest::TearDown();
    }
    // An adapter of the fake object, with its desktop mode, and its record in the tree.
    AdapterInfo* Adapter(UINT ordinal, D3DDISPLAYMODE desktop) {
        fakes::FakeAdapter fake;
        fake.desktopMode = desktop;
        direct3d->adapters.push_back(fake);
        return AddAdapter(app.enumeration, ordinal, "adapter");
    }

    RecordingApplication app;
    fakes::FakeDirect3D* direct3d = nullptr;
};

TEST_F(InitialSettingsTest, ReferenceOnlySystemGetsTheReferenceDeviceForBothHalves) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(800, 600, 60, X8));
    AddDisplayMode(adapter, 800, 600, 60, X8);
    DeviceInfo* reference = AddDevice(adapter, D3DDEVTYPE_REF);
    ComboOptions options;
    options.presentIntervals = {D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE};
    options.vertexProcessing = {HARDWARE_VP, SOFTWARE_VP};
    DeviceCombo* fullscreen = AddCombo(reference, X8, X8, false, options);
    DeviceCombo* windowed = AddCombo(reference, X8, X8, true, options);

    ASSERT_EQ(app.ChooseInitialSettings(), S_OK);
    const DeviceSettings& settings = app.settings;
    EXPECT_TRUE(settings.isWindowed);
    EXPECT_EQ(settings.windowedDeviceInfo, reference);
    EXPECT_EQ(settings.windowedDeviceCombo, windowed);
    EXPECT_EQ(settings.fullscreenDeviceInfo, reference);
    EXPECT_EQ(settings.fullscreenDeviceCombo, fullscreen);
    EXPECT_EQ(settings.windowedPresentInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT));
    EXPECT_EQ(settings.fullscreenPresentInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE))
        << "fullscreen runs unthrottled whatever the combo lists";
    EXPECT_EQ(settings.windowedVertexProcessing, HARDWARE_VP);
    EXPECT_EQ(settings.fullscreenVertexProcessing, HARDWARE_VP);
    EXPECT_EQ(settings.windowedWidth, 512);
    EXPECT_EQ(settings.windowedHeight, 384);
    EXPECT_EQ(settings.windowedDisplayMode.Width, 800u);
}

TEST_F(InitialSettingsTest, PreferredFullscreenStartsFullscreenWithTheWindowedSearchsMultisampling) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(800, 600, 60, X8));
    AddDisplayMode(adapter, 800, 600, 60, X8);
    DeviceInfo* hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    AddCombo(hal, X8, X8, false, WithMultisample(D3DMULTISAMPLE_8_SAMPLES));
    AddCombo(hal, X8, X8, true, WithMultisample(D3DMULTISAMPLE_2_SAMPLES));
    app.preferFullscreen = true;
    ASSERT_EQ(app.ChooseInitialSettings(), S_OK);
    EXPECT_FALSE(app.settings.isWindowed);
    EXPECT_EQ(app.settings.multisampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(app.settings.multisampleQuality, 0u);
}

TEST_F(InitialSettingsTest, OnlyFullscreenConfigurationStartsFullscreenAndNoneIsAnError) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(800, 600, 60, X8));
    AddDisplayMode(adapter, 800, 600, 60, R5);
    DeviceInfo* hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    // A windowed combo must have the desktop's format; this one does not.
    AddCombo(hal, R5, R5, true);
    EXPECT_EQ(app.ChooseInitialSettings(), AppErrorNoCompatibleDevices);
    AddCombo(hal, R5, R5, false);
    EXPECT_EQ(app.ChooseInitialSettings(), S_OK);
    EXPECT_FALSE(app.settings.isWindowed);
    EXPECT_EQ(app.settings.windowedDeviceCombo, nullptr);
}

TEST_F(InitialSettingsTest, EmptyEnumerationHasNoCompatibleDevice) {
    EXPECT_EQ(app.ChooseInitialSettings(), AppErrorNoCompatibleDevices);
}

TEST_F(InitialSettingsTest, WindowedSearchPrefersHalAndTheDesktopFormatAndStopsAtTheFirstExactHal) {
    AdapterInfo* first = Adapter(0, fakes::Mode(1024, 768, 60, X8));
    DeviceInfo* reference = AddDevice(first, D3DDEVTYPE_REF);
    AddCombo(reference, X8, X8, true);
    DeviceInfo* hal = AddDevice(first, D3DDEVTYPE_HAL);
    AddCombo(hal, X8, A8, true);
    AddCombo(hal, R5, R5, true);  // not the desktop format of adapter 0
    AddCombo(hal, X8, X8, false);
    DeviceCombo* exact = AddCombo(hal, X8, X8, true, WithMultisample(D3DMULTISAMPLE_4_SAMPLES));
    AdapterInfo* second = Adapter(1, fakes::Mode(1024, 768, 60, X8));
    DeviceInfo* secondHal = AddDevice(second, D3DDEVTYPE_HAL);
    AddCombo(secondHal, X8, X8, true);

    ASSERT_TRUE(app.FindBestWindowedSettings(false, false));
    EXPECT_EQ(app.settings.windowedAdapterInfo, first);
    EXPECT_EQ(app.settings.windowedDeviceCombo, exact);
    EXPECT_EQ(app.settings.multisampleType, D3DMULTISAMPLE_4_SAMPLES);
}

TEST_F(InitialSettingsTest, WindowedSearchTakesHalOverAnEarlierReferenceDevice) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(1024, 768, 60, X8));
    DeviceInfo* reference = AddDevice(adapter, D3DDEVTYPE_REF);
    AddCombo(reference, X8, X8, true);
    DeviceInfo* hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    DeviceCombo* inexactHal = AddCombo(hal, X8, A8, true);
    AddCombo(reference, X8, A8, true);
    ASSERT_TRUE(app.FindBestWindowedSettings(false, false));
    EXPECT_EQ(app.settings.windowedDeviceCombo, inexactHal);
}

TEST_F(InitialSettingsTest, WindowedSearchFiltersAndLeavesSettingsAloneWhenNothingFits) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(1024, 768, 60, X8));
    DeviceInfo* hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    DeviceCombo* halCombo = AddCombo(hal, X8, X8, true);
    DeviceInfo* reference = AddDevice(adapter, D3DDEVTYPE_REF);
    DeviceCombo* referenceCombo = AddCombo(reference, X8, X8, true);

    ASSERT_TRUE(app.FindBestWindowedSettings(false, true));
    EXPECT_EQ(app.settings.windowedDeviceCombo, referenceCombo);
    ASSERT_TRUE(app.FindBestWindowedSettings(true, false));
    EXPECT_EQ(app.settings.windowedDeviceCombo, halCombo);

    app.settings.isWindowed = false;
    direct3d->adapters[0].desktopMode.Format = R5;
    EXPECT_FALSE(app.FindBestWindowedSettings(false, false));
    EXPECT_EQ(app.settings.windowedDeviceCombo, halCombo);
    EXPECT_FALSE(app.settings.isWindowed);
}

TEST_F(InitialSettingsTest, FullscreenSearchPrefersAHalComboInItsAdaptersDesktopFormat) {
    AdapterInfo* adapter = Adapter(0, fakes::Mode(1024, 768, 60, X8));
    AddDisplayMode(adapter, 640, 480, 60, R5);
    AddDisplayMode(adapter, 1024, 768, 60, X8);
    DeviceInfo* reference = AddDevice(adapter, D3DDEVTYPE_REF);
    AddCombo(reference, X8, X8, false);
    DeviceInfo* hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    AddCombo(hal, R5, R5, false);
    DeviceCombo* desktopFormat = AddCombo(hal, X8, A8, false);
    AddCombo(hal, X8, A8, false);

    ASSERT_TRUE(app.FindBestFullscreenSettings(false, false));
    EXPECT_EQ(app.settings.fullscreenDeviceCombo, desktopFormat)
        << "a desktop-format combo replaces another-format one, but not an equal one";
    EXPECT_FALSE(app.settings.isWindowed);

    DeviceCombo* exact = AddCombo(hal, X8, X8, false);
    AddCombo(hal, X8, X8, false);
    ASSERT_TRUE(app.FindBestFullscreenSettings(false, false));
    EXPECT_EQ(app.settings.fullscreenDeviceCombo, exact);
}

TEST_F(InitialSettingsTest, FullscreenSearchReadsEachAdaptersOwnDesktop) {
    Adapter(0, fakes::Mode(1024, 768, 60, R5));
    AdapterInfo* second = Adapter(1, fakes::Mode(1280, 1024, 75, X8));
    AddDisplayMode(second, 1280, 1024, 75, X8);
    DeviceInfo* firstHal = AddDevice(static_cast<AdapterInfo*>(app.enumeration.adapterInfos->ItemAt(0)), D3DDEVTYPE_HAL);
    AddCombo(firstHal, X8, X8, false);
    DeviceInfo* secondHal = AddDevice(second, D3DDEVTYPE_HAL);
    DeviceCombo* exact = AddCombo(secondHal, X8, X8, false);
    ASSERT_TRUE(app.FindBestFullscreenSettings(false, false));
    EXPECT_EQ(app.settings.fullscreenAdapterInfo, second);
    EXPECT_EQ(app.settings.fullscreenDeviceCombo, exact);
    EXPECT_EQ(app.settings.fullscreenDisplayMode.Width, 1280u);
    EXPECT_EQ(app.settings.fullscreenDisplayMode.RefreshRate, 75u);
}

// The display mode for a fullscreen combo in X8R8G8B8 on a 1024 x 768 at 60 Hz desktop.
class FullscreenModeTest : public InitialSettingsTest {
protected:
    D3DDISPLAYMODE ChosenMode(const std::vector<D3DDISPLAYMODE>& modes) {
        AdapterInfo* adapter = Adapter(0, fakes::Mode(1024, 768, 60, X8));
        for (const D3DDISPLAYMODE& mode : modes) AddDisplayMode(adapter, mode.Width, mode.Height, mode.RefreshRate, mode.Format);
        AddCombo(AddDevice(adapter, D3DDEVTYPE_HAL), X8, X8, false);
        EXPECT_TRUE(app.FindBestFullscreenSettings(false, false));
        return app.settings.fullscreenDisplayMode;
    }
};

TEST_F(FullscreenModeTest, DesktopModeItselfWins) {
    const D3DDISPLAYMODE mode = ChosenMode({fakes::Mode(640, 480, 60, X8), fakes::Mode(1024, 768, 60, X8),
                                            fakes::Mode(1024, 768, 75, X8), fakes::Mode(1024, 900, 60, X8)});
    EXPECT_EQ(mode.Height, 768u);
    EXPECT_EQ(mode.RefreshRate, 60u);
}

TEST_F(FullscreenModeTest, WithoutItTheLastModeOfTheDesktopWidthWins) {
    const D3DDISPLAYMODE mode = ChosenMode({fakes::Mode(640, 480, 60, X8), fakes::Mode(1024, 600, 60, X8),
                                            fakes::Mode(1024, 768, 75, X8), fakes::Mode(1280, 1024, 60, X8)});
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.Height, 768u);
    EXPECT_EQ(mode.RefreshRate, 75u);
}

TEST_F(FullscreenModeTest, WithoutTheDesktopWidthTheFirstModeOfTheFormatWins) {
    const D3DDISPLAYMODE mode = ChosenMode({fakes::Mode(640, 480, 60, R5), fakes::Mode(800, 600, 60, X8),
                                            fakes::Mode(1280, 1024, 60, X8)});
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Format, X8);
}

TEST_F(FullscreenModeTest, WithoutAModeOfTheFormatTheModeStaysZero) {
    const D3DDISPLAYMODE mode = ChosenMode({fakes::Mode(1024, 768, 60, R5)});
    EXPECT_EQ(mode.Width, 0u);
    EXPECT_EQ(mode.Format, D3DFMT_UNKNOWN);
}

}  // namespace
