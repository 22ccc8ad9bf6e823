// The cursor of a fullscreen device: the window's cursor copied into a device cursor image,
// marked in its corner so that it can be told from the system cursor, and the cursor clip.
#include "framework/application_framework.h"
#include "platform/platform.h"

#include <vector>

#include <wrl/client.h>

namespace {

// Three small glyphs, 12 x 5 pixels, one row per entry, the leftmost pixel in bit 15.
constexpr WORD kWatermarkRows[] = {0xCCC0, 0xA2A0, 0xA4A0, 0xA2A0, 0xCCC0};
constexpr int kWatermarkWidth = 12;
constexpr DWORD kWatermarkColour = 0xFF808080;

// The GDI objects of one cursor conversion, freed on every path.
struct CursorBitmaps {
    ICONINFO icon = {};
    HDC screen = nullptr;
    HDC memory = nullptr;
    ~CursorBitmaps() {
        if (icon.hbmMask) DeleteObject(icon.hbmMask);
        if (icon.hbmColor) DeleteObject(icon.hbmColor);
        if (memory) DeleteDC(memory);
        if (screen) ReleaseDC(nullptr, screen);
    }
};

// Reads rows of a bitmap as 32-bit pixels, bottom row first.
bool ReadBitmapPixels(HDC dc, HBITMAP bitmap, int width, int height, std::vector<DWORD>* pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels->data(), &info, DIB_RGB_COLORS) != 0;
}

}  // namespace

HRESULT ApplicationFramework::SetDeviceCursor(IDirect3DDevice9* targetDevice, HCURSOR cursor, bool watermark) {
    if (!targetDevice) return E_INVALIDARG;
    CursorBitmaps bitmaps;
    if (!GetIconInfo(cursor, &bitmaps.icon)) return E_FAIL;
    BITMAP mask = {};
    if (GetObjectA(bitmaps.icon.hbmMask, sizeof(mask), &mask) == 0) return E_FAIL;

    // A monochrome cursor keeps its AND mask above its XOR image in one bitmap twice as high.
    const bool monochrome = bitmaps.icon.hbmColor == nullptr;
    const int width = mask.bmWidth;
    const int maskHeight = mask.bmHeight;
    const int imageHeight = monochrome ? maskHeight / 2 : maskHeight;
    if (width <= 0 || imageHeight <= 0) return E_FAIL;

    Microsoft::WRL::ComPtr<IDirect3DSurface9> surface;
    HRESULT result = targetDevice->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(imageHeight),
                                                               D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH,
                                                               surface.GetAddressOf(), nullptr);
    if (FAILED(result)) return result;

    bitmaps.screen = GetDC(nullptr);
    bitmaps.memory = CreateCompatibleDC(bitmaps.screen);
    if (!bitmaps.memory) return E_FAIL;
    std::vector<DWORD> maskPixels;
    std::vector<DWORD> colourPixels;
    static_cast<void>(ReadBitmapPixels(bitmaps.memory, bitmaps.icon.hbmMask, width, maskHeight, &maskPixels));
    if (!monochrome) {
        static_cast<void>(ReadBitmapPixels(bitmaps.memory, bitmaps.icon.hbmColor, width, imageHeight, &colourPixels));
    }

    D3DLOCKED_RECT locked = {};
    result = surface->LockRect(&locked, nullptr, 0);
    if (FAILED(result)) return result;
    BYTE* rows = static_cast<BYTE*>(locked.pBits);
    for (int y = 0; y < imageHeight; ++y) {
        // The buffers are bottom-up; y counts from the top. The AND mask is the upper half of a
        // monochrome mask bitmap, the XOR image the lower half.
        const DWORD* maskRow = &maskPixels[static_cast<size_t>(maskHeight - 1 - y) * width];
        const DWORD* colourRow = monochrome ? &maskPixels[static_cast<size_t>(imageHeight - 1 - y) * width]
                                            : &colourPixels[static_cast<size_t>(imageHeight - 1 - y) * width];
        // Rows are laid out by the surface's pitch, which may be wider than the image.
        DWORD* target = reinterpret_cast<DWORD*>(rows + static_cast<size_t>(y) * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            target[x] = maskRow[x] != 0 ? 0 : (colourRow[x] | 0xFF000000);
        }
    }
    if (watermark) {
        const int markRows = imageHeight < 5 ? imageHeight : 5;
        const int markColumns = width < kWatermarkWidth ? width : kWatermarkWidth;
        for (int y = 0; y < markRows; ++y) {
            DWORD* target = reinterpret_cast<DWORD*>(rows + static_cast<size_t>(y) * locked.Pitch);
            for (int x = 0; x < markColumns; ++x) {
                if (kWatermarkRows[y] & (1u << (15 - x))) target[x] |= kWatermarkColour;
            }
        }
    }
    static_cast<void>(surface->UnlockRect());

    result = targetDevice->SetCursorProperties(bitmaps.icon.xHotspot, bitmaps.icon.yHotspot, surface.Get());
    return FAILED(result) ? result : S_OK;
}

void ApplicationFramework::SetUpDeviceCursor() {
    if (showCursorInFullscreen && !windowed) {
        HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(mainWindow, GCLP_HCURSOR));
        static_cast<void>(SetDeviceCursor(device, cursor, true));
        device->ShowCursor(TRUE);
    }
    if (clipCursorInFullscreen) {
        if (!windowed) {
            RECT bounds = {};
            static_cast<void>(GetWindowRect(mainWindow, &bounds));
            static_cast<void>(platform::ClipCursorTo(&bounds));
        } else {
            static_cast<void>(platform::ClipCursorTo(nullptr));
        }
    }
}
