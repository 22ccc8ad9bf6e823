// The device's life: present parameters, creation with the fallback to the reference
// rasterizer, reset and release, each keeping the device-resource operations balanced.
#include "framework/application_framework.h"
#include "framework/behavior_flags.h"
#include "framework/error_reporting.h"

#include <wrl/client.h>

namespace {

constexpr HRESULT kFileNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

HRESULT ReadBackBufferDesc(IDirect3DDevice9* device, D3DSURFACE_DESC* desc) {
    Microsoft::WRL::ComPtr<IDirect3DSurface9> backBuffer;
    const HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.GetAddressOf());
    if (FAILED(result) || !backBuffer) return FAILED(result) ? result : E_FAIL;
    return backBuffer->GetDesc(desc);
}

}  // namespace

void ApplicationFramework::BuildPresentParameters() {
    DeviceCombo* combo = settings.CurrentDeviceCombo();
    presentParams.Windowed = settings.isWindowed;
    presentParams.BackBufferCount = 1;
    presentParams.MultiSampleType = settings.multisampleType;
    presentParams.MultiSampleQuality = settings.multisampleQuality;
    presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.EnableAutoDepthStencil = enumeration.usesDepthBuffer;
    presentParams.hDeviceWindow = mainWindow;
    if (enumeration.usesDepthBuffer) {
        presentParams.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
        presentParams.AutoDepthStencilFormat = settings.CurrentDepthStencilFormat();
    } else {
        presentParams.Flags = 0;
    }
    if (windowed) {
        presentParams.BackBufferWidth = static_cast<UINT>(clientRect.right - clientRect.left);
        presentParams.BackBufferHeight = static_cast<UINT>(clientRect.bottom - clientRect.top);
        presentParams.FullScreen_RefreshRateInHz = 0;
    } else {
        const D3DDISPLAYMODE& mode = settings.CurrentDisplayMode();
        presentParams.BackBufferWidth = mode.Width;
        presentParams.BackBufferHeight = mode.Height;
        presentParams.FullScreen_RefreshRateInHz = settings.fullscreenDisplayMode.RefreshRate;
    }
    presentParams.BackBufferFormat = combo ? combo->backBufferFormat : D3DFMT_UNKNOWN;
    presentParams.PresentationInterval = settings.CurrentPresentInterval();
}

void ApplicationFramework::ReturnToWindowedBounds() {
    // An icon's rectangle is the icon's: the window comes back at its placement's normal
    // rectangle when restored, and that is the one it had when it was minimised (in fullscreen,
    // the display's). A window minimised before, during or after a switch (without a window
    // manager Wine and the device minimise and restore a fullscreen window as the focus comes and
    // goes) must come back where it was as a window, so that rectangle is the one set.
    if (IsIconic(mainWindow)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(mainWindow, &placement)) {
            // The normal rectangle is in workspace coordinates: the monitor's work area is their origin.
            MONITORINFO monitor = {};
            monitor.cbSize = sizeof(monitor);
            const bool known = GetMonitorInfoA(MonitorFromRect(&windowedBounds, MONITOR_DEFAULTTOPRIMARY), &monitor) != FALSE;
            placement.rcNormalPosition = windowedBounds;
            if (known) {
                OffsetRect(&placement.rcNormalPosition, monitor.rcMonitor.left - monitor.rcWork.left,
                           monitor.rcMonitor.top - monitor.rcWork.top);
            }
            placement.flags = 0;
            placement.showCmd = SW_SHOWMINNOACTIVE;
            static_cast<void>(SetWindowPlacement(mainWindow, &placement));
        }
        static_cast<void>(SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
        return;
    }
    static_cast<void>(SetWindowPos(mainWindow, HWND_NOTOPMOST, windowedBounds.left, windowedBounds.top,
                                   windowedBounds.right - windowedBounds.left,
                                   windowedBounds.bottom - windowedBounds.top, SWP_SHOWWINDOW));
}

HRESULT ApplicationFramework::CreateDeviceFromSettings() {
    AdapterInfo* adapterInfo = settings.CurrentAdapterInfo();
    DeviceInfo* deviceInfo = settings.CurrentDeviceInfo();
    DeviceCombo* combo = settings.CurrentDeviceCombo();
    // Without a Direct3D object (a fatal report has closed the window) or without a chosen
    // configuration there is nothing to create.
    if (!direct3d || !adapterInfo || !deviceInfo || !combo) return E_FAIL;

    windowed = settings.isWindowed;
    static_cast<void>(ApplyWindowStyleForMode());
    BuildPresentParameters();

    if (deviceInfo->caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE) {
        static_cast<void>(ReportError(AppErrorNullReferenceDevice, NoticeWarning));
    }

    const DWORD flags = BehaviorFlagsFor(settings.CurrentVertexProcessing());
    HRESULT result = direct3d->CreateDevice(combo->adapterOrdinal, deviceInfo->deviceType, focusWindow,
                                            flags, &presentParams, &device);
    if (SUCCEEDED(result) && !device) result = E_FAIL;
    if (SUCCEEDED(result)) {
        if (windowed) ReturnToWindowedBounds();
        static_cast<void>(device->GetDeviceCaps(&deviceCaps));
        behaviorFlags = flags;
        BuildDeviceDescription(*adapterInfo, deviceInfo->deviceType, flags);
        static_cast<void>(ReadBackBufferDesc(device, &backBufferDesc));
        WriteStatisticsLine();
        SetUpDeviceCursor();

        result = CreateDeviceResources();
        if (FAILED(result)) {
            static_cast<void>(DestroyDeviceResources());
            ReleaseDevice();
        } else {
            deviceResourcesCreated = true;
            result = RestoreDeviceResources();
            if (FAILED(result)) {
                static_cast<void>(ReleaseDeviceResources());
                ReleaseDevice();
            } else {
                deviceResourcesRestored = true;
                RequestFrameInSingleFrameMode();
                return S_OK;
            }
        }
    }

    // A hardware device that failed gets one more try as a windowed reference device, unless
    // the failure is missing media, which no other device would find either.
    if (result == AppErrorMediaNotFound || result == kFileNotFound) return result;
    if (deviceInfo->deviceType != D3DDEVTYPE_HAL) return result;
    if (!FindBestWindowedSettings(false, true)) return result;
    windowed = true;
    static_cast<void>(ApplyWindowStyleForMode());
    ReturnToWindowedBounds();
    static_cast<void>(ReportError(result, NoticeSwitchedToReference));
    return CreateDeviceFromSettings();
}

HRESULT ApplicationFramework::ResetDevice() {
    if (!device) return D3DERR_INVALIDCALL;
    if (deviceResourcesRestored) {
        deviceResourcesRestored = false;
        static_cast<void>(ReleaseDeviceResources());
    }
    HRESULT result = device->Reset(&presentParams);
    if (FAILED(result)) return result;

    static_cast<void>(ReadBackBufferDesc(device, &backBufferDesc));
    WriteStatisticsLine();
    SetUpDeviceCursor();

    result = RestoreDeviceResources();
    if (FAILED(result)) {
        static_cast<void>(ReleaseDeviceResources());
        return result;
    }
    deviceResourcesRestored = true;
    RequestFrameInSingleFrameMode();
    return S_OK;
}

void ApplicationFramework::RequestFrameInSingleFrameMode() {
    // Single-frame mode shows one frame of the new or reset device. The timer is left as it
    // runs: stopping it here would freeze the picture for good once P resumes drawing.
    if (!updateContinuously) stepPending = true;
}

void ApplicationFramework::ReleaseDevice() {
    if (!device) return;
    if (deviceResourcesRestored) {
        deviceResourcesRestored = false;
        static_cast<void>(ReleaseDeviceResources());
    }
    if (deviceResourcesCreated) {
        deviceResourcesCreated = false;
        static_cast<void>(DestroyDeviceResources());
    }
    const ULONG remaining = device->Release();
    // Null the field before reporting: the fatal report closes the window, and the shutdown
    // sequence it runs must find no device left to release.
    device = nullptr;
    if (remaining > 0) static_cast<void>(ReportError(AppErrorNonzeroRefCount, NoticeFatal));
}
