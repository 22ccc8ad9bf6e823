// Start-up: the window Initialize creates, the order of its steps, each failure path reported
// once with the Direct3D object released exactly once, and the enumeration's callback.
#include <gtest/gtest.h>

#include "framework/error_reporting.h"
#include "framework/frame_timer.h"
#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;
using Log = std::vector<std::string>;

constexpr char kFatalSuffix[] = "\n\nThis sample will now exit.";

class InitializeTest : public FrameworkDeviceTest {
protected:
    // Keeps a reference of the test's own, so that the product's releases can be counted.
    void HoldDirect3D() { direct3d->AddRef(); }
    ULONG ProductReferences() const { return direct3d->RefCount() - 1; }
    void DropDirect3D() { direct3d->Release(); }
};

TEST_F(InitializeTest, CreatesTheFrameworkWindowAndStartsRunning) {
    app->windowTitle = "Initialize Test";
    app->initialClientWidth = 512;
    app->initialClientHeight = 384;
    ASSERT_EQ(Start(true), S_OK);
    HWND window = app->mainWindow;
    ASSERT_NE(window, nullptr);
    char text[64] = {};
    GetClassNameA(window, text, sizeof(text));
    EXPECT_STREQ(text, "D3D Window");
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ(text, "Initialize Test");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS, 0x90CA0000u);
    EXPECT_EQ(app->windowedStyle, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)));
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 512);
    EXPECT_EQ(client.bottom, 384);
    EXPECT_EQ(app->clientRect.right, 512);
    EXPECT_NE(GetMenu(window), nullptr);
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0u);
    EXPECT_EQ(app->focusWindow, window);
    EXPECT_EQ(app->enumeration.acceptDevice, &ConfirmDeviceThunk);
    EXPECT_TRUE(app->active);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_EQ(creations[0].presentParameters.BackBufferWidth, 512u);

    const double before = FrameTimer(TimerGetAppTime);
    Wait(250);
    EXPECT_NEAR(FrameTimer(TimerGetAppTime) - before, 0.25, 1e-9) << "the timer runs";
}

TEST_F(InitializeTest, KeepsAWindowThatAlreadyExists) {
    HWND window = test_support::CreateFrameworkWindow(320, 200);
    app->mainWindow = window;
    handedOver = true;
    fake_platform::nextDirect3D = direct3d;
    ASSERT_EQ(app->Initialize(GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(app->mainWindow, window);
    EXPECT_EQ(creations[0].presentParameters.BackBufferWidth, 320u);
}

TEST_F(InitializeTest, WithoutDirect3DReportsFatalAndCreatesNothing) {
    handedOver = true;
    direct3d->Release();
    fake_platform::nextDirect3D = nullptr;
    EXPECT_EQ(app->Initialize(GetModuleHandleA(nullptr)), AppErrorNoDirect3D);
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_TRUE(app->log.empty());
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text.rfind("Could not initialize Direct3D.", 0), 0u);
}

TEST_F(InitializeTest, NoCompatibleDeviceClosesWithOneReportAndOneRelease) {
    direct3d->adapters[0].modes.clear();  // no usable display mode, so no device type survives
    HoldDirect3D();
    EXPECT_EQ(Start(), AppErrorNoCompatibleDevices);
    EXPECT_EQ(ProductReferences(), 0u);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text,
              std::string("Could not find any compatible Direct3D\ndevices.") + kFatalSuffix);
    EXPECT_EQ(app->log, (Log{"CleanupScene"})) << "the window's shutdown ran; the scene was never set up";
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_EQ(app->direct3d, nullptr);
    DropDirect3D();
}

TEST_F(InitializeTest, FailedSceneSetUpClosesWithOneReportAndOneRelease) {
    app->failures["InitScene"] = E_OUTOFMEMORY;
    HoldDirect3D();
    EXPECT_EQ(Start(), E_OUTOFMEMORY);
    EXPECT_EQ(ProductReferences(), 0u);
    EXPECT_TRUE(creations.empty());
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text, std::string("Not enough memory.") + kFatalSuffix);
    EXPECT_EQ(app->log, (Log{"InitScene", "CleanupScene"}));
    DropDirect3D();
}

TEST_F(InitializeTest, FailedDeviceCreationClosesWithOneReportAndOneRelease) {
    createFailures[D3DDEVTYPE_HAL] = D3DERR_OUTOFVIDEOMEMORY;
    createFailures[D3DDEVTYPE_REF] = D3DERR_OUTOFVIDEOMEMORY;
    HoldDirect3D();
    EXPECT_EQ(Start(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(ProductReferences(), 0u);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 2u) << "the reference warning, then the fatal report";
    EXPECT_EQ(fake_platform::messageBoxes[1].text, std::string("Not enough video memory.") + kFatalSuffix);
    EXPECT_EQ(app->mainWindow, nullptr);
    DropDirect3D();
}

class AcceptanceRecorder : public test_support::RecordingApplication {
public:
    HRESULT CheckDeviceAcceptable(D3DCAPS9* caps, DWORD flags, D3DFORMAT format) override {
        seenFlags.push_back(flags);
        seenCaps = caps;
        seenFormat = format;
        return (flags & D3DCREATE_PUREDEVICE) ? E_FAIL : S_OK;
    }
    std::vector<DWORD> seenFlags;
    D3DCAPS9* seenCaps = nullptr;
    D3DFORMAT seenFormat = D3DFMT_UNKNOWN;
};

TEST_F(InitializeTest, EnumerationCallbackAsksTheApplicationWithBehaviourFlags) {
    app = std::make_unique<AcceptanceRecorder>();
    auto* recorder = static_cast<AcceptanceRecorder*>(app.get());
    D3DCAPS9 caps = {};
    const struct {
        int type;
        DWORD flags;
        bool accepted;
    } cases[] = {
        {SOFTWARE_VP, D3DCREATE_SOFTWARE_VERTEXPROCESSING, true},
        {MIXED_VP, D3DCREATE_MIXED_VERTEXPROCESSING, true},
        {HARDWARE_VP, D3DCREATE_HARDWARE_VERTEXPROCESSING, true},
        {PURE_HARDWARE_VP, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, false},
        {9, 0, true},
    };
    for (const auto& entry : cases) {
        recorder->seenFlags.clear();
        EXPECT_EQ(ConfirmDeviceThunk(&caps, static_cast<VertexProcessingType>(entry.type), D3DFMT_R5G6B5),
                  entry.accepted);
        ASSERT_EQ(recorder->seenFlags.size(), 1u);
        EXPECT_EQ(recorder->seenFlags[0], entry.flags) << entry.type;
        EXPECT_EQ(recorder->seenCaps, &caps);
        EXPECT_EQ(recorder->seenFormat, D3DFMT_R5G6B5);
    }
}

TEST_F(InitializeTest, RefusedVertexProcessingNeverReachesDeviceCreation) {
    app = std::make_unique<AcceptanceRecorder>();
    ASSERT_EQ(Start(), S_OK);
    EXPECT_EQ(creations[0].behaviorFlags, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING));
    EXPECT_STREQ(app->deviceDescription, "HAL (hw vp): Fake Adapter");
}

}  // namespace
