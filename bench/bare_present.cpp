// The least a Direct3D 9 program does before its first frame: a window, Direct3DCreate9, a
// device and one Present of a yellow clear. The start-up bench times quillant.exe against it.
#include <windows.h>
#include <d3d9.h>

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = "Bare Present";
    if (!RegisterClassA(&windowClass)) return 1;

    // The viewer's client size, so that both present the same number of pixels.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
    RECT bounds = {0, 0, 512, 384};
    AdjustWindowRect(&bounds, style, FALSE);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Bare Present", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3d) return 1;
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device))) {
        direct3d->Release();
        return 1;
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 255, 0), 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);

    // The frame stays up until the bench closes the window.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    device->Release();
    direct3d->Release();
    return 0;
}
