// GDI copy of a window's client area, for where the device's front-buffer copy comes back black
// (as it can under Wine), and the test that tells such a black copy apart.
#include "viewer/image_capture.h"

#include <cstring>

HRESULT CaptureClientArea(HWND window, UINT width, UINT height, std::vector<DWORD>& pixels) {
    pixels.clear();
    if (window == nullptr || width == 0 || height == 0 || width > 0x8000u || height > 0x8000u) {
        return E_INVALIDARG;
    }
    HDC windowDc = GetDC(window);
    if (windowDc == nullptr) return E_FAIL;
    HDC memoryDc = CreateCompatibleDC(windowDc);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memoryDc != nullptr
        ? CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;

    HRESULT result = E_FAIL;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        const BOOL copied = BitBlt(memoryDc, 0, 0, static_cast<int>(width),
                                   static_cast<int>(height), windowDc, 0, 0, SRCCOPY);
        // The DIB's memory is only complete once GDI has run the queued blit.
        GdiFlush();
        if (copied) {
            const size_t count = static_cast<size_t>(width) * height;
            pixels.resize(count);
            const DWORD* source = static_cast<const DWORD*>(bits);
            for (size_t i = 0; i < count; ++i) pixels[i] = source[i] | 0xFF000000u;
            result = S_OK;
        }
        SelectObject(memoryDc, previous);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memoryDc != nullptr) DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return result;
}

bool RectIsAllBlack(const BYTE* pixels, int pitch, const RECT& r) {
    if (pixels == nullptr || r.right <= r.left || r.bottom <= r.top) return true;
    for (LONG y = r.top; y < r.bottom; ++y) {
        const BYTE* row = pixels + static_cast<ptrdiff_t>(y) * pitch +
                          static_cast<ptrdiff_t>(r.left) * 4;
        for (LONG x = r.left; x < r.right; ++x, row += 4) {
            DWORD pixel;
            std::memcpy(&pixel, row, sizeof pixel);
            if ((pixel & 0x00FFFFFFu) != 0) return false;
        }
    }
    return true;
}
