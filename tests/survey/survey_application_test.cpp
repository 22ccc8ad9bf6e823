// The survey's application object and its device host on a fake Direct3D: a mode whose device
// cannot be made is reported with the framework's code and text (no box) and the next mode runs,
// the framework's fallback to the reference rasterizer is not passed off as the mode asked for,
// a lost device is waited for a bounded time, and a picture that cannot be made costs the mode
// its picture, not its measurement.
#include "survey/survey_application.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/fake_device.h"
#include "support/fake_direct3d.h"
#include "support/recording_application.h"
#include "support/scratch_folder.h"

namespace {

bool ReadDesktop(void* context, UINT ordinal, D3DDISPLAYMODE* mode) {
    return SUCCEEDED(static_cast<IDirect3D9*>(context)->GetAdapterDisplayMode(ordinal, mode));
}

class SurveyApplicationTest : public test_support::FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        fake_platform::counterFrequency = 1000;
        direct3d = fakes::MakeTypicalDirect3D();
        direct3d->destroyed = &direct3dDestroyed;
        direct3d->onCreateDevice = [this](UINT adapter, D3DDEVTYPE type, HWND, DWORD, D3DPRESENT_PARAMETERS* parameters,
                                          IDirect3DDevice9** out) {
            *out = nullptr;
            created.push_back({type, parameters->MultiSampleType});
            if (parameters->MultiSampleType == failingType && type == D3DDEVTYPE_HAL) return creationFailure;
            auto* device = new fakes::FakeDevice(*parameters);
            device->caps = direct3d->adapters[adapter].caps[type];
            devices.push_back(device);
            *out = device;
            return D3D_OK;
        };
    }

    void TearDown() override {
        if (app) app->Finish();
        EXPECT_TRUE(direct3dDestroyed || !started);
        app.reset();
        if (!started) direct3d->Release();
        FrameworkTest::TearDown();
    }

    void Start(D3DFORMAT desktopFormat = D3DFMT_X8R8G8B8) {
        direct3d->adapters[0].desktopMode = {1024, 768, 60, desktopFormat};
        fake_platform::nextDirect3D = direct3d;
        started = true;
        app = std::make_unique<SurveyApplication>();
        ASSERT_EQ(app->Start(GetModuleHandleA(nullptr)), S_OK);
        SurveyOptions options;
        options.devices = SurveyDevices::Hal;
        plan = PlanSurvey(app->enumeration, options, ReadDesktop, app->direct3d);
        ASSERT_EQ(plan.modes.size(), 2u);  // NONE and 4 samples on the typical HAL
    }

    ModeReport Survey(size_t index) {
        ModeReport report = ReportForMode(plan.modes[index]);
        HRESULT outputFailure = S_OK;
        // No picture file: the fake device's measurement fails before one is drawn.
        app->Survey(plan.modes[index], "", &report, &outputFailure);
        EXPECT_EQ(outputFailure, S_OK);
        return report;
    }

    struct Creation {
        D3DDEVTYPE type;
        D3DMULTISAMPLE_TYPE multisample;
        bool operator==(const Creation& other) const { return type == other.type && multisample == other.multisample; }
    };

    fakes::FakeDirect3D* direct3d = nullptr;
    bool direct3dDestroyed = false;
    bool started = false;
    D3DMULTISAMPLE_TYPE failingType = static_cast<D3DMULTISAMPLE_TYPE>(-1);
    HRESULT creationFailure = D3DERR_OUTOFVIDEOMEMORY;
    std::vector<Creation> created;
    std::vector<fakes::FakeDevice*> devices;
    std::unique_ptr<SurveyApplication> app;
    SurveyPlan plan;
};

TEST_F(SurveyApplicationTest, TheStartUpDeviceServesTheFirstModeAndTheNextIsAResetOfIt) {
    Start();
    const ModeReport none = Survey(0);
    const ModeReport four = Survey(1);
    EXPECT_EQ(created, (std::vector<Creation>{{D3DDEVTYPE_HAL, D3DMULTISAMPLE_NONE}}));
    EXPECT_EQ(devices.back()->resetCount, 1);
    EXPECT_EQ(devices.back()->presentParameters.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
    // Past the device: the fake cannot draw the measurement, which is where both stop.
    EXPECT_EQ(none.failureStage, "measurement");
    EXPECT_EQ(four.failureStage, "measurement");
    EXPECT_EQ(devices.back()->misuseCount, 0) << devices.back()->lastMisuse;
}

TEST_F(SurveyApplicationTest, AModeWhoseDeviceCannotBeMadeIsReportedWithItsCodeAndTheNextModeRuns) {
    direct3d->adapters[0].caps.erase(D3DDEVTYPE_REF);  // nothing to fall back to
    Start();
    failingType = D3DMULTISAMPLE_4_SAMPLES;
    devices.back()->resetResult = D3DERR_NOTAVAILABLE;  // the reset fails, so a new device is tried
    const ModeReport four = Survey(1);
    EXPECT_FALSE(four.measured);
    EXPECT_EQ(four.failureStage, "device");
    EXPECT_EQ(four.failureCode, D3DERR_OUTOFVIDEOMEMORY);
    // The call that failed and what usually causes its code; the code itself is beside it.
    EXPECT_EQ(four.failureText,
              "CreateDevice failed (likely cause: not enough video memory for the back buffer and the render targets, "
              "or a multisample mode the implementation offers but cannot make)");
    EXPECT_EQ(app->device, nullptr);

    const ModeReport none = Survey(0);
    EXPECT_EQ(none.failureStage, "measurement");
    EXPECT_NE(app->device, nullptr);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

TEST_F(SurveyApplicationTest, TheFrameworksFallBackToTheReferenceDeviceIsAFailureOfTheHalMode) {
    Start();
    failingType = D3DMULTISAMPLE_4_SAMPLES;
    devices.back()->resetResult = D3DERR_NOTAVAILABLE;
    const ModeReport four = Survey(1);
    EXPECT_EQ(created.back(), (Creation{D3DDEVTYPE_REF, D3DMULTISAMPLE_NONE}));
    EXPECT_EQ(four.deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(four.failureStage, "device");
    // The hardware device's code, not the fallback's success.
    EXPECT_EQ(four.failureCode, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(four.failureText,
              "CreateDevice failed (likely cause: not enough video memory for the back buffer and the render targets, "
              "or a multisample mode the implementation offers but cannot make); "
              "the framework fell back to the reference device, another mode");
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    // The reference device was let go at once.
    EXPECT_EQ(app->device, nullptr);
}

TEST_F(SurveyApplicationTest, ALostDeviceIsWaitedForThenResetAndMeasured) {
    Start();
    devices.back()->testCooperativeLevelResults = {D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
    const ModeReport none = Survey(0);
    EXPECT_EQ(devices.back()->resetCount, 1);
    EXPECT_EQ(none.failureStage, "measurement");
}

TEST_F(SurveyApplicationTest, ADeviceThatStaysLostIsReportedAfterTheWait) {
    Start();
    app->lostDeviceWaitMilliseconds = 250.0;
    devices.back()->testCooperativeLevelResults.assign(100, D3DERR_DEVICELOST);
    const DWORD before = GetTickCount();
    const ModeReport none = Survey(0);
    const DWORD waited = GetTickCount() - before;
    EXPECT_EQ(none.failureStage, "device");
    EXPECT_EQ(none.failureCode, D3DERR_DEVICELOST);
    EXPECT_EQ(none.failureText, "TestCooperativeLevel: the device was lost and did not come back within 0.2 s "
                                "(likely cause: another program took the display (fullscreen), or the session was locked)");
    EXPECT_TRUE(ImplementationFailed(none));
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 3000u);
}

// The fake device cannot draw the probes' pictures: its measurement stands in here, so that the
// picture step is reached.
HRESULT MeasuredByHand(IDirect3DDevice9*, ModeMeasurement* measurement, ProbeObserver, void*) {
    measurement->samplePositions.samples.resize(1);
    return S_OK;
}

struct PictureCase {
    const char* name;
    D3DFORMAT desktop;
    HRESULT readBack;
    const char* pictureError;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class SurveyPictureTest : public SurveyApplicationTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(SurveyPictureTest, APictureThatCannotBeMadeCostsTheModeItsPictureNotItsMeasurement) {
    const PictureCase& c = GetParam();
    Start(c.desktop);
    app->measure = MeasuredByHand;
    devices.back()->getRenderTargetDataResult = c.readBack;
    test_support::ScratchFolder folder;
    ModeReport report = ReportForMode(plan.modes[0]);
    HRESULT outputFailure = E_FAIL;
    app->Survey(plan.modes[0], folder.Path("mode.png"), &report, &outputFailure);
    EXPECT_EQ(outputFailure, S_OK);
    EXPECT_TRUE(report.measured) << report.failureStage << ": " << report.failureText;
    EXPECT_EQ(report.measurement.mode.format, c.desktop);
    EXPECT_EQ(report.pictureError, c.pictureError);
    const bool written = *c.pictureError == '\0';
    EXPECT_EQ(report.picture, written ? "mode.png" : "");
    EXPECT_EQ(folder.Names(), written ? std::vector<std::string>{"mode.png"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SurveyPictureTest,
    ::testing::Values(PictureCase{"Desktop32", D3DFMT_X8R8G8B8, D3D_OK, ""},
                      // A format the PNG writer widens, as the viewer's Ctrl+S does.
                      PictureCase{"Desktop16", D3DFMT_R5G6B5, D3D_OK, ""},
                      PictureCase{"NotReadBack", D3DFMT_X8R8G8B8, D3DERR_DRIVERINTERNALERROR,
                                  "not drawn: D3DERR_DRIVERINTERNALERROR (0x88760827)"}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

TEST_F(SurveyApplicationTest, FinishingReleasesTheDeviceAndDirect3DAndClosesTheWindow) {
    Start();
    HWND window = app->mainWindow;
    ASSERT_TRUE(IsWindow(window));
    // A top-level tool window (every implementation can present to it) that is never shown:
    // nothing on the taskbar or the screen.
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetAncestor(window, GA_ROOT), window);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 512);
    EXPECT_EQ(client.bottom, 384);
    app->Finish();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app->device, nullptr);
    EXPECT_TRUE(direct3dDestroyed);
    app->Finish();  // twice is harmless
}

}  // namespace
