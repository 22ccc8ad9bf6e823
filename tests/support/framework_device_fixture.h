// A fixture that starts a RecordingApplication the way the program does (Initialize with a
// window) on the typical fake Direct3D object, whose CreateDevice hands out fake devices.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "support/fake_device.h"
#include "support/fake_direct3d.h"
#include "support/recording_application.h"

namespace test_support {

struct DeviceCreation {
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    DWORD behaviorFlags;
    D3DPRESENT_PARAMETERS presentParameters;
};

class FrameworkDeviceTest : public ClockedFrameworkTest {
protected:
    void SetUp() override {
        ClockedFrameworkTest::SetUp();
        direct3d = fakes::MakeTypicalDirect3D();
        direct3d->destroyed = &direct3dDestroyed;
        direct3d->onCreateDevice = [this](UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags,
                                          D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** out) {
            creations.push_back({adapter, type, focus, flags, *parameters});
            *out = nullptr;
            auto failure = createFailures.find(type);
            if (failure != createFailures.end()) return failure->second;
            auto* created = new fakes::FakeDevice(*parameters);
            created->caps = direct3d->adapters[adapter].caps[type];
            created->renderTargetModeResult = renderTargetModeResult;
            devices.push_back(created);
            *out = created;
            return D3D_OK;
        };
        app = std::make_unique<RecordingApplication>();
    }

    void TearDown() override {
        if (app && app->mainWindow) SendMessageA(app->mainWindow, WM_CLOSE, 0, 0);
        app.reset();
        TakeQuitMessage();
        if (!handedOver && !direct3dDestroyed) direct3d->Release();
        ClockedFrameworkTest::TearDown();
    }

    // Initialize, as the entry point calls it, on a message-only window made beforehand (so
    // Initialize keeps it) or, with realWindow, on the window Initialize creates itself.
    HRESULT Start(bool realWindow = false) {
        if (!realWindow) app->mainWindow = CreateFrameworkWindow();
        handedOver = true;
        fake_platform::nextDirect3D = direct3d;
        return app->Initialize(GetModuleHandleA(nullptr));
    }

    fakes::FakeDevice* Device() const { return devices.empty() ? nullptr : devices.back(); }

    fakes::FakeDirect3D* direct3d = nullptr;
    bool direct3dDestroyed = false;
    bool handedOver = false;
    std::map<D3DDEVTYPE, HRESULT> createFailures;
    // Given to every device created from here on (FakeDevice::renderTargetModeResult).
    std::function<HRESULT(D3DMULTISAMPLE_TYPE, DWORD)> renderTargetModeResult;
    std::vector<DeviceCreation> creations;
    std::vector<fakes::FakeDevice*> devices;  // every device created; released ones are gone
    std::unique_ptr<RecordingApplication> app;
};

}  // namespace test_support
