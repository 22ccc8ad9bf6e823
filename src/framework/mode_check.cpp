// Before a switch: a multisample mode the implementation offers but cannot create is refused with
// a message, and the device in hand stays. Some implementations offer a quality whose sample
// count they lack; a Reset or a new device of it may then end the process inside the DLL, while a
// small render target of it fails cleanly with a result code.
#include <string>

#include <wrl/client.h>

#include "enumeration/value_names.h"
#include "framework/application_framework.h"
#include "framework/behavior_flags.h"
#include "framework/error_reporting.h"
#include "enumeration/result_codes.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT kTestTargetSize = 16;

// A windowed device without multisampling on the candidate's adapter and device type, only to
// ask it for a target; null where none can be made (then nothing is known, and nothing refused).
ComPtr<IDirect3DDevice9> MakeTestDevice(IDirect3D9* direct3d, const DeviceSettings& candidate, HWND focusWindow,
                                        HWND deviceWindow) {
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.BackBufferWidth = kTestTargetSize;
    parameters.BackBufferHeight = kTestTargetSize;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = deviceWindow;
    ComPtr<IDirect3DDevice9> device;
    const DeviceCombo* combo = candidate.CurrentDeviceCombo();
    const HRESULT result = direct3d->CreateDevice(combo->adapterOrdinal, combo->deviceType, focusWindow,
                                                  BehaviorFlagsFor(candidate.CurrentVertexProcessing()),
                                                  &parameters, device.GetAddressOf());
    if (FAILED(result)) return nullptr;
    return device;
}

std::string RefusalText(const DeviceSettings& candidate, const char* call, HRESULT result) {
    std::string text = "The device offers this multisample mode but cannot create it:\n";
    text += std::string(MultisampleTypeText(candidate.multisampleType)) + ", quality " +
            std::to_string(candidate.multisampleQuality) + ", back buffer " +
            FormatText(candidate.CurrentDeviceCombo()->backBufferFormat, false) +
            (candidate.isWindowed ? ", windowed.\n\n" : ", fullscreen.\n\n");
    return text + FailedCallText(call, result) + ".\n\nThe device and its settings stay as they were.";
}

}  // namespace

HRESULT ApplicationFramework::RefuseModeItCannotCreate(const DeviceSettings& candidate) {
    const DeviceCombo* combo = candidate.CurrentDeviceCombo();
    if (!combo || !direct3d || candidate.multisampleType == D3DMULTISAMPLE_NONE) return S_OK;
    const DeviceCombo* current = device ? settings.CurrentDeviceCombo() : nullptr;
    ComPtr<IDirect3DDevice9> tester;
    if (current && current->adapterOrdinal == combo->adapterOrdinal && current->deviceType == combo->deviceType) {
        tester = device;
    } else {
        tester = MakeTestDevice(direct3d, candidate, focusWindow, mainWindow);
        if (!tester) return S_OK;
    }
    ComPtr<IDirect3DSurface9> target;
    const HRESULT result = tester->CreateRenderTarget(kTestTargetSize, kTestTargetSize, combo->backBufferFormat,
                                                      candidate.multisampleType, candidate.multisampleQuality,
                                                      FALSE, target.GetAddressOf(), nullptr);
    if (SUCCEEDED(result)) return S_OK;
    return ReportErrorText(result, NoticeWarning, RefusalText(candidate, "CreateRenderTarget", result));
}
