// The enumeration tree and configurations the dialog tests share, and a field-by-field
// comparison of DeviceSettings.
#pragma once

#include <gtest/gtest.h>

#include "enumeration/device_enumeration.h"
#include "support/enumeration_tree_builder.h"
#include "support/fake_direct3d.h"

namespace dialog_test {

using test_support::AddAdapter;
using test_support::AddCombo;
using test_support::AddDevice;
using test_support::AddDisplayMode;
using test_support::ComboOptions;
using fakes::Mode;

// Two adapters. The first has a HAL device with windowed and fullscreen combos in two adapter
// formats, a SW device with windowed combos only and a REF device with fullscreen ones only.
struct SampleTree {
    DeviceEnumeration enumeration;
    AdapterInfo* first = nullptr;
    AdapterInfo* second = nullptr;
    DeviceInfo* hal = nullptr;
    DeviceInfo* sw = nullptr;
    DeviceInfo* ref = nullptr;
    DeviceInfo* secondHal = nullptr;
    DeviceCombo* halFullA8 = nullptr;
    DeviceCombo* halWinA8 = nullptr;
    DeviceCombo* halFullX8 = nullptr;
    DeviceCombo* halWinX8 = nullptr;
    DeviceCombo* halFullR5 = nullptr;
    DeviceCombo* halWinR5 = nullptr;
    DeviceCombo* swWinX8 = nullptr;
    DeviceCombo* refFullX8 = nullptr;
    DeviceCombo* secondWinX8 = nullptr;
    DeviceCombo* secondFullX8 = nullptr;

    SampleTree() {
        first = AddAdapter(enumeration, 0, "First Test Adapter");
        // Sorted as Enumerate sorts: width, height, format (X8R8G8B8 = 22 before R5G6B5 = 23),
        // refresh rate. 800 by 600 at 60 Hz comes twice, as a driver may report it.
        AddDisplayMode(first, 640, 480, 60, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 640, 480, 75, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 640, 480, 60, D3DFMT_R5G6B5);
        AddDisplayMode(first, 800, 600, 0, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 800, 600, 60, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 800, 600, 60, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 800, 600, 85, D3DFMT_X8R8G8B8);
        AddDisplayMode(first, 1024, 768, 60, D3DFMT_X8R8G8B8);

        hal = AddDevice(first, D3DDEVTYPE_HAL);
        ComboOptions fullA8;
        fullA8.multisample = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_2_SAMPLES, 3}, {D3DMULTISAMPLE_4_SAMPLES, 2}};
        fullA8.vertexProcessing = {HARDWARE_VP, SOFTWARE_VP};
        fullA8.presentIntervals = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                   D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_TWO};
        ComboOptions winA8;
        winA8.multisample = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_2_SAMPLES, 3}};
        winA8.vertexProcessing = {HARDWARE_VP, SOFTWARE_VP};
        winA8.presentIntervals = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE};
        ComboOptions fullX8 = fullA8;
        fullX8.multisample = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_2_SAMPLES, 3}, {D3DMULTISAMPLE_4_SAMPLES, 0}};
        fullX8.vertexProcessing = {PURE_HARDWARE_VP, HARDWARE_VP, SOFTWARE_VP};
        ComboOptions winX8 = winA8;
        winX8.multisample = fullX8.multisample;
        // Enumerate's order: adapter format, back-buffer format, fullscreen before windowed.
        halFullA8 = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, false, fullA8);
        halWinA8 = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, true, winA8);
        halFullX8 = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, fullX8);
        halWinX8 = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, winX8);
        halFullR5 = AddCombo(hal, D3DFMT_R5G6B5, D3DFMT_R5G6B5, false);
        halWinR5 = AddCombo(hal, D3DFMT_R5G6B5, D3DFMT_R5G6B5, true);

        sw = AddDevice(first, D3DDEVTYPE_SW);
        swWinX8 = AddCombo(sw, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);

        ref = AddDevice(first, D3DDEVTYPE_REF);
        ComboOptions refOptions;
        refOptions.presentIntervals = {D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE};
        refFullX8 = AddCombo(ref, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, refOptions);

        second = AddAdapter(enumeration, 1, "Second Test Adapter");
        AddDisplayMode(second, 1024, 768, 60, D3DFMT_X8R8G8B8);
        secondHal = AddDevice(second, D3DDEVTYPE_HAL);
        secondFullX8 = AddCombo(secondHal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
        secondWinX8 = AddCombo(secondHal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
    }

    // Windowed on the first adapter's HAL device with the X8R8G8B8 back buffer; the fullscreen
    // half chose A8R8G8B8 at 800 by 600, 85 Hz.
    DeviceSettings Windowed() const {
        DeviceSettings settings;
        settings.isWindowed = true;
        settings.windowedAdapterInfo = first;
        settings.windowedDeviceInfo = hal;
        settings.windowedDeviceCombo = halWinX8;
        settings.windowedDisplayMode = Mode(1280, 1024, 60, D3DFMT_X8R8G8B8);
        settings.multisampleType = D3DMULTISAMPLE_2_SAMPLES;
        settings.multisampleQuality = 1;
        settings.windowedVertexProcessing = HARDWARE_VP;
        settings.windowedPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        settings.windowedWidth = 640;
        settings.windowedHeight = 480;
        settings.fullscreenAdapterInfo = first;
        settings.fullscreenDeviceInfo = hal;
        settings.fullscreenDeviceCombo = halFullA8;
        settings.fullscreenDisplayMode = Mode(800, 600, 85, D3DFMT_X8R8G8B8);
        settings.fullscreenVertexProcessing = SOFTWARE_VP;
        settings.fullscreenPresentInterval = D3DPRESENT_INTERVAL_ONE;
        return settings;
    }
    // Windowed on the second adapter, whose HAL device has one windowed combo.
    DeviceSettings WindowedOnSecond() const {
        DeviceSettings settings = Windowed();
        settings.windowedAdapterInfo = second;
        settings.windowedDeviceInfo = secondHal;
        settings.windowedDeviceCombo = secondWinX8;
        return settings;
    }
    void ExpectWindowedOnSecond(const DeviceSettings& settings) const {
        EXPECT_EQ(settings.windowedAdapterInfo, second);
        EXPECT_EQ(settings.windowedDeviceInfo, secondHal);
        EXPECT_EQ(settings.windowedDeviceCombo, secondWinX8);
    }
    DeviceSettings Fullscreen() const {
        DeviceSettings settings = Windowed();
        settings.isWindowed = false;
        return settings;
    }
};

inline void ExpectSameMode(const D3DDISPLAYMODE& actual, const D3DDISPLAYMODE& expected, const char* half) {
    EXPECT_EQ(actual.Width, expected.Width) << half;
    EXPECT_EQ(actual.Height, expected.Height) << half;
    EXPECT_EQ(actual.RefreshRate, expected.RefreshRate) << half;
    EXPECT_EQ(actual.Format, expected.Format) << half;
}

inline void ExpectSameSettings(const DeviceSettings& actual, const DeviceSettings& expected) {
    EXPECT_EQ(actual.isWindowed, expected.isWindowed);
    EXPECT_EQ(actual.windowedAdapterInfo, expected.windowedAdapterInfo);
    EXPECT_EQ(actual.windowedDeviceInfo, expected.windowedDeviceInfo);
    EXPECT_EQ(actual.windowedDeviceCombo, expected.windowedDeviceCombo);
    ExpectSameMode(actual.windowedDisplayMode, expected.windowedDisplayMode, "windowed mode");
    EXPECT_EQ(actual.windowedDepthStencilFormat, expected.windowedDepthStencilFormat);
    EXPECT_EQ(actual.multisampleType, expected.multisampleType);
    EXPECT_EQ(actual.multisampleQuality, expected.multisampleQuality);
    EXPECT_EQ(actual.windowedVertexProcessing, expected.windowedVertexProcessing);
    EXPECT_EQ(actual.windowedPresentInterval, expected.windowedPresentInterval);
    EXPECT_EQ(actual.windowedWidth, expected.windowedWidth);
    EXPECT_EQ(actual.windowedHeight, expected.windowedHeight);
    EXPECT_EQ(actual.fullscreenAdapterInfo, expected.fullscreenAdapterInfo);
    EXPECT_EQ(actual.fullscreenDeviceInfo, expected.fullscreenDeviceInfo);
    EXPECT_EQ(actual.fullscreenDeviceCombo, expected.fullscreenDeviceCombo);
    ExpectSameMode(actual.fullscreenDisplayMode, expected.fullscreenDisplayMode, "fullscreen mode");
    EXPECT_EQ(actual.fullscreenDepthStencilFormat, expected.fullscreenDepthStencilFormat);
    EXPECT_EQ(actual.fullscreenVertexProcessing, expected.fullscreenVertexProcessing);
    EXPECT_EQ(actual.fullscreenPresentInterval, expected.fullscreenPresentInterval);
}

}  // namespace dialog_test
