// RefreshFrameStats: the once-a-second measurement window and the statistics line.
#include <gtest/gtest.h>

#include <string>

#include "support/recording_application.h"

namespace {

using test_support::FrameworkTest;
using test_support::RecordingApplication;

class FrameStatisticsTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        fake_platform::counterFrequency = 1000;
        app.backBufferDesc.Width = 400;
        app.backBufferDesc.Height = 300;
        app.backBufferDesc.Format = D3DFMT_X8R8G8B8;
        app.settings.isWindowed = true;
        app.settings.windowedDisplayMode.Format = D3DFMT_X8R8G8B8;
        app.settings.multisampleType = D3DMULTISAMPLE_NONE;
    }
    void RefreshAt(int milliseconds, int frames = 1) {
        fake_platform::counterValue = milliseconds;
        for (int frame = 0; frame < frames; ++frame) app.RefreshFrameStats();
    }
    // The first call measures over all the time since the clock's origin; this takes it at
    // 2 s, and the next measurement counts `frames` more frames up to 2 s + `spanMs`.
    void MeasureFrames(int frames, int spanMs) {
        RefreshAt(2000);
        RefreshAt(2000 + spanMs / 2, frames - 1);
        RefreshAt(2000 + spanMs);
    }
    std::string Statistics() const { return app.frameStatistics; }

    RecordingApplication app;
};

TEST_F(FrameStatisticsTest, FirstCallMeasuresAtOnceOverTheWholeSpan) {
    RefreshAt(4000);
    EXPECT_FLOAT_EQ(app.framesPerSecond, 0.25f);
    EXPECT_EQ(Statistics(), "0.25 fps (400x300), X8R8G8B8");
}

TEST_F(FrameStatisticsTest, PausedTimeIsLeftOutOfTheMeasurement) {
    RefreshAt(2000);
    RefreshAt(2300, 29);
    // A dialog open for 10 s in the middle of the window.
    app.Pause(true);
    fake_platform::counterValue = 12300;
    app.Pause(false);
    RefreshAt(13000, 36);
    RefreshAt(13100);  // 66 frames in 1.1 s of running
    EXPECT_FLOAT_EQ(app.framesPerSecond, 60.0f);
}

TEST_F(FrameStatisticsTest, NestedPausesAreLeftOutOnceAndTheFirstMeasurementStaysAtOnce) {
    app.Pause(true);
    fake_platform::counterValue = 3000;
    app.Pause(false);
    RefreshAt(4000);
    EXPECT_FLOAT_EQ(app.framesPerSecond, 0.25f) << "nothing measured yet: the first call spans all";
    app.Pause(true);
    fake_platform::counterValue = 5000;
    app.Pause(true);
    fake_platform::counterValue = 8000;
    app.Pause(false);
    fake_platform::counterValue = 9000;
    app.Pause(false);
    // 5 s paused in all: 110 frames from 4 s to 11.1 s are 2.1 s of running.
    RefreshAt(10000, 109);
    RefreshAt(11100);
    EXPECT_NEAR(app.framesPerSecond, 110.0 / 2.1, 1e-3);
}

TEST_F(FrameStatisticsTest, SameFormatsWithoutMultisamplingShowOneFormat) {
    MeasureFrames(66, 1100);
    EXPECT_EQ(Statistics(), "60.00 fps (400x300), X8R8G8B8");
}

TEST_F(FrameStatisticsTest, DifferentFormatsShowBackBufferAndAdapter) {
    app.backBufferDesc.Format = D3DFMT_R5G6B5;
    MeasureFrames(66, 1100);
    EXPECT_EQ(Statistics(), "60.00 fps (400x300), backbuf R5G6B5, adapter X8R8G8B8");
}

TEST_F(FrameStatisticsTest, MultisampleTypeAndQualityFollowTheFormat) {
    app.backBufferDesc.Width = 512;
    app.backBufferDesc.Height = 384;
    app.settings.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
    app.settings.multisampleQuality = 0;
    MeasureFrames(60, 1001);
    EXPECT_EQ(Statistics(), "59.94 fps (512x384), X8R8G8B8 (4x Multisample Quality 0)");

    app.settings.multisampleType = D3DMULTISAMPLE_NONMASKABLE;
    app.settings.multisampleQuality = 2;
    RefreshAt(5000);
    EXPECT_NE(Statistics().find("X8R8G8B8 (Nonmaskable Multisample Quality 2)"), std::string::npos) << Statistics();

    app.settings.multisampleType = D3DMULTISAMPLE_16_SAMPLES;
    RefreshAt(7000);
    EXPECT_NE(Statistics().find("X8R8G8B8 (16x Multisample Quality 2)"), std::string::npos) << Statistics();
}

TEST_F(FrameStatisticsTest, DepthFormatIsShownOnlyWithADepthBuffer) {
    app.settings.windowedDepthStencilFormat = D3DFMT_D24S8;
    RefreshAt(2000);
    EXPECT_EQ(Statistics().find("D24S8"), std::string::npos);
    app.enumeration.usesDepthBuffer = true;
    RefreshAt(4000);
    EXPECT_NE(Statistics().find("X8R8G8B8 (D24S8)"), std::string::npos) << Statistics();
}

TEST_F(FrameStatisticsTest, FullscreenConfigurationSuppliesTheAdapterFormat) {
    app.settings.isWindowed = false;
    app.settings.fullscreenDisplayMode.Format = D3DFMT_R5G6B5;
    RefreshAt(2000);
    EXPECT_NE(Statistics().find("backbuf X8R8G8B8, adapter R5G6B5"), std::string::npos) << Statistics();
}

TEST_F(FrameStatisticsTest, NothingChangesUntilMoreThanOneSecondHasPassed) {
    RefreshAt(2000);
    const std::string before = Statistics();
    app.backBufferDesc.Width = 640;
    RefreshAt(2500, 10);
    RefreshAt(3000);  // exactly one second: not yet
    EXPECT_EQ(Statistics(), before);
    EXPECT_FLOAT_EQ(app.framesPerSecond, 0.5f);
    RefreshAt(3001);
    EXPECT_EQ(Statistics(), "11.99 fps (640x300), X8R8G8B8") << "12 frames in 1.001 s";
}

TEST_F(FrameStatisticsTest, LongLineIsCutAt89Characters) {
    app.backBufferDesc.Width = 16384;
    app.backBufferDesc.Height = 16384;
    app.backBufferDesc.Format = D3DFMT_A2R10G10B10;
    app.settings.windowedDisplayMode.Format = D3DFMT_X1R5G5B5;
    app.enumeration.usesDepthBuffer = true;
    app.settings.windowedDepthStencilFormat = D3DFMT_D24X4S4;
    app.settings.multisampleType = D3DMULTISAMPLE_16_SAMPLES;
    app.settings.multisampleQuality = 12345;
    MeasureFrames(200000, 2000);
    const std::string full =
        "100000.00 fps (16384x16384), backbuf A2R10G10B10, adapter X1R5G5B5 (D24X4S4) (16x Multisample "
        "Quality 12345)";
    EXPECT_EQ(Statistics(), full.substr(0, 89));
}

}  // namespace
