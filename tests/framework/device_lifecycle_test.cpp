// Device creation, reset and release: the present parameters, the device-resource operations
// running exactly once per acquisition, the leak report, the reference fallback and the device
// description, and the reports handed to a receiver instead of a box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/error_reporting.h"
#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;
using Log = std::vector<std::string>;

constexpr char kFatalSuffix[] = "\n\nThis sample will now exit.";
constexpr char kReferenceSuffix[] =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
    "Direct3D feature set, but runs very slowly.";
constexpr char kGenericText[] = "Generic application error. Enable\ndebug output for detailed information.";

class DeviceLifecycleTest : public FrameworkDeviceTest {};

TEST_F(DeviceLifecycleTest, InitializeCreatesTheBestWindowedDeviceAndItsResourcesOnce) {
    ASSERT_EQ(Start(), S_OK);
    EXPECT_EQ(app->log, (Log{"InitScene", "CreateDeviceResources", "RestoreDeviceResources"}));
    EXPECT_TRUE(app->deviceResourcesCreated);
    EXPECT_TRUE(app->deviceResourcesRestored);
    EXPECT_TRUE(app->active);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());

    ASSERT_EQ(creations.size(), 1u);
    const auto& creation = creations[0];
    EXPECT_EQ(creation.adapter, 0u);
    EXPECT_EQ(creation.deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(creation.focusWindow, app->mainWindow);
    EXPECT_EQ(creation.behaviorFlags, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE));
    const D3DPRESENT_PARAMETERS& parameters = creation.presentParameters;
    EXPECT_TRUE(parameters.Windowed);
    EXPECT_EQ(parameters.BackBufferWidth, 400u);
    EXPECT_EQ(parameters.BackBufferHeight, 300u);
    EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(parameters.BackBufferCount, 1u);
    EXPECT_EQ(parameters.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(parameters.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_FALSE(parameters.EnableAutoDepthStencil);
    EXPECT_EQ(parameters.Flags, 0u);
    EXPECT_EQ(parameters.hDeviceWindow, app->mainWindow);
    EXPECT_EQ(parameters.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(parameters.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));

    EXPECT_EQ(app->behaviorFlags, creation.behaviorFlags);
    EXPECT_STREQ(app->deviceDescription, "HAL (pure hw vp): Fake Adapter");
    EXPECT_EQ(app->backBufferDesc.Width, 400u);
    EXPECT_EQ(app->backBufferDesc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Device()->backBuffer->refCount, 0u) << "the back buffer was released after reading it";
}

TEST_F(DeviceLifecycleTest, ResetReleasesAndRestoresOnceAndReadsTheNewBackBuffer) {
    ASSERT_EQ(Start(), S_OK);
    app->log.clear();
    app->presentParams.BackBufferWidth = 320;
    app->presentParams.BackBufferHeight = 200;
    EXPECT_EQ(app->ResetDevice(), S_OK);
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "RestoreDeviceResources"}));
    EXPECT_EQ(app->backBufferDesc.Width, 320u);
    EXPECT_EQ(app->backBufferDesc.Height, 200u);
    EXPECT_NE(std::string(app->frameStatistics).find("(320x200)"), std::string::npos)
        << "the next frame, perhaps the only one, names the new size: " << app->frameStatistics;
    EXPECT_EQ(Device()->misuseCount, 0) << Device()->lastMisuse;
    EXPECT_TRUE(app->deviceResourcesRestored);
}

TEST_F(DeviceLifecycleTest, FailedResetLeavesTheResourcesReleasedForGood) {
    ASSERT_EQ(Start(), S_OK);
    app->log.clear();
    Device()->resetResult = D3DERR_DEVICELOST;
    EXPECT_EQ(app->ResetDevice(), D3DERR_DEVICELOST);
    EXPECT_FALSE(app->deviceResourcesRestored);
    app->ReleaseDevice();
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "DestroyDeviceResources"}));
    EXPECT_EQ(app->device, nullptr);
}

TEST_F(DeviceLifecycleTest, FailedRestoreAfterResetIsReleasedAndNotReleasedAgain) {
    ASSERT_EQ(Start(), S_OK);
    app->log.clear();
    app->failures["RestoreDeviceResources"] = E_OUTOFMEMORY;
    EXPECT_EQ(app->ResetDevice(), E_OUTOFMEMORY);
    EXPECT_FALSE(app->deviceResourcesRestored);
    app->ReleaseDevice();
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "RestoreDeviceResources", "ReleaseDeviceResources",
                             "DestroyDeviceResources"}));
}

TEST_F(DeviceLifecycleTest, CloseReleasesEverythingInOrderWithoutAReport) {
    ASSERT_EQ(Start(), S_OK);
    fakes::FakeDevice* device = Device();
    device->deleteOnFinalRelease = false;
    app->log.clear();
    SendMessageA(app->mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(app->log, (Log{"ReleaseDeviceResources", "DestroyDeviceResources", "CleanupScene"}));
    EXPECT_EQ(device->RefCount(), 0u);
    EXPECT_EQ(device->misuseCount, 0) << device->lastMisuse;
    EXPECT_TRUE(direct3dDestroyed);
    EXPECT_EQ(app->device, nullptr);
    EXPECT_EQ(app->direct3d, nullptr);
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    delete device;
}

TEST_F(DeviceLifecycleTest, LeakedDeviceReferenceIsReportedOnceAndTheDeviceReleasedOnce) {
    ASSERT_EQ(Start(), S_OK);
    fakes::FakeDevice* device = Device();
    device->extraReferences = 1;
    SendMessageA(app->mainWindow, WM_CLOSE, 0, 0);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text,
              std::string("A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
                          "cleaned up).") + kFatalSuffix);
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(device->misuseCount, 0) << device->lastMisuse;
    EXPECT_EQ(app->Count("CleanupScene"), 1) << "the close raised by the report must not run a second shutdown";
    EXPECT_EQ(app->Count("DestroyDeviceResources"), 1);
    EXPECT_TRUE(direct3dDestroyed);
    EXPECT_EQ(app->mainWindow, nullptr);
    delete device;
}

TEST_F(DeviceLifecycleTest, HalCreationFailureFallsBackToAWindowedReferenceDeviceWithAWarning) {
    createFailures[D3DDEVTYPE_HAL] = E_OUTOFMEMORY;
    ASSERT_EQ(Start(), S_OK);
    ASSERT_EQ(creations.size(), 2u);
    EXPECT_EQ(creations[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(creations[1].deviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(creations[1].behaviorFlags, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING));
    EXPECT_TRUE(creations[1].presentParameters.Windowed);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text, std::string("Not enough memory.") + kReferenceSuffix);
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(app->settings.isWindowed);
    EXPECT_EQ(app->settings.windowedDeviceInfo->deviceType, D3DDEVTYPE_REF);
    EXPECT_STREQ(app->deviceDescription, "REF (simulated hw vp)");
    EXPECT_EQ(app->log, (Log{"InitScene", "CreateDeviceResources", "RestoreDeviceResources"}));
}

TEST_F(DeviceLifecycleTest, AReportReceiverTakesAFailedCreationsCodesAndTextsInsteadOfABox) {
    std::vector<FrameworkReport> received;
    SetReportReceiver([&received](const FrameworkReport& report) { received.push_back(report); });
    createFailures[D3DDEVTYPE_HAL] = E_OUTOFMEMORY;
    createFailures[D3DDEVTYPE_REF] = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(Start(), D3DERR_NOTAVAILABLE);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].code, E_OUTOFMEMORY);
    EXPECT_EQ(received[0].kind, NoticeSwitchedToReference);
    EXPECT_EQ(received[0].text, std::string("Not enough memory.") + kReferenceSuffix);
    EXPECT_EQ(received[1].code, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(received[1].kind, NoticeFatal);
    EXPECT_EQ(received[1].text, std::string(kGenericText) + kFatalSuffix);
    // Only the box is replaced: the fatal report still ended the program's window.
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_TRUE(direct3dDestroyed);
    SetReportReceiver(nullptr);
}

TEST_F(DeviceLifecycleTest, FailedResourcesOnTheHalDeviceAreUndoneBeforeTheFallback) {
    app->failures["RestoreDeviceResources"] = E_FAIL;
    EXPECT_EQ(Start(), E_FAIL) << "the reference device fails the same way and is not retried";
    EXPECT_EQ(app->log, (Log{"InitScene", "CreateDeviceResources", "RestoreDeviceResources",
                             "ReleaseDeviceResources", "DestroyDeviceResources", "CreateDeviceResources",
                             "RestoreDeviceResources", "ReleaseDeviceResources", "DestroyDeviceResources",
                             "CleanupScene"}));
    ASSERT_EQ(creations.size(), 2u);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 2u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text, std::string(kGenericText) + kReferenceSuffix);
    EXPECT_EQ(fake_platform::messageBoxes[1].text, std::string(kGenericText) + kFatalSuffix);
    EXPECT_TRUE(direct3dDestroyed);
}

TEST_F(DeviceLifecycleTest, MissingMediaIsNotRetriedOnTheReferenceDevice) {
    app->failures["CreateDeviceResources"] = AppErrorMediaNotFound;
    EXPECT_EQ(Start(), AppErrorMediaNotFound);
    EXPECT_EQ(creations.size(), 1u);
    EXPECT_EQ(app->Count("DestroyDeviceResources"), 1);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text, std::string("Could not load required media.") + kFatalSuffix);
}

TEST_F(DeviceLifecycleTest, FileNotFoundIsNotRetriedEither) {
    app->failures["CreateDeviceResources"] = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Start(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(creations.size(), 1u);
}

TEST_F(DeviceLifecycleTest, FailingReferenceDeviceIsNotRetried) {
    direct3d->adapters[0].caps.erase(D3DDEVTYPE_HAL);
    createFailures[D3DDEVTYPE_REF] = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(Start(), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(creations.size(), 1u);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(DeviceLifecycleTest, DeviceWhoseCapsRenderNothingIsUsedAfterAWarning) {
    direct3d->adapters[0].caps[D3DDEVTYPE_HAL].PrimitiveMiscCaps |= D3DPMISCCAPS_NULLREFERENCE;
    ASSERT_EQ(Start(), S_OK);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text.rfind("Warning: Nothing will be rendered.\n", 0), 0u);
    EXPECT_EQ(fake_platform::messageBoxes[0].type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_NE(app->device, nullptr);
}

TEST_F(DeviceLifecycleTest, DeviceDescriptionNamesTypeVertexProcessingAndAdapter) {
    ASSERT_EQ(Start(), S_OK);
    // A reference device names no adapter and only simulates hardware vertex processing.
    const struct {
        bool reference;
        VertexProcessingType vertexProcessing;
        const char* description;
    } cases[] = {
        {false, HARDWARE_VP, "HAL (hw vp): Fake Adapter"},
        {false, MIXED_VP, "HAL (mixed vp): Fake Adapter"},
        {false, SOFTWARE_VP, "HAL (sw vp): Fake Adapter"},
        {true, PURE_HARDWARE_VP, "REF (simulated pure hw vp)"},
        {true, MIXED_VP, "REF (simulated mixed vp)"},
        {true, SOFTWARE_VP, "REF (sw vp)"},
    };
    for (const auto& entry : cases) {
        if (entry.reference && app->settings.windowedDeviceInfo->deviceType != D3DDEVTYPE_REF) {
            ASSERT_TRUE(app->FindBestWindowedSettings(false, true));
        }
        app->ReleaseDevice();
        app->settings.windowedVertexProcessing = entry.vertexProcessing;
        ASSERT_EQ(app->CreateDeviceFromSettings(), S_OK);
        EXPECT_STREQ(app->deviceDescription, entry.description);
    }
}

TEST_F(DeviceLifecycleTest, DeviceDescriptionIsCutAt89Characters) {
    std::string name(300, 'n');
    name.copy(direct3d->adapters[0].identifier.Description, name.size());
    ASSERT_EQ(Start(), S_OK);
    const std::string description = app->deviceDescription;
    EXPECT_EQ(description.size(), 89u);
    EXPECT_EQ(description, ("HAL (pure hw vp): " + name).substr(0, 89));
}

TEST_F(DeviceLifecycleTest, UnterminatedAdapterDescriptionIsCutSafely) {
    std::memset(direct3d->adapters[0].identifier.Description, 'u', sizeof(direct3d->adapters[0].identifier.Description));
    ASSERT_EQ(Start(), S_OK);
    EXPECT_EQ(std::string(app->deviceDescription), "HAL (pure hw vp): " + std::string(71, 'u'));
}

}  // namespace
