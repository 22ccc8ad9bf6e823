// The present parameters of a plain windowed device in X8R8G8B8, for the tests and benches that
// make a device, real or fake, without the framework.
#pragma once

#include <windows.h>
#include <d3d9.h>

namespace test_support {

inline D3DPRESENT_PARAMETERS WindowedPresentParameters(UINT width, UINT height,
                                                       D3DMULTISAMPLE_TYPE multisample = D3DMULTISAMPLE_NONE,
                                                       HWND window = nullptr) {
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = multisample;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    return parameters;
}

}  // namespace test_support
