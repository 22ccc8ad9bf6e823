// What a window shows, read through GDI: the start-up benchmark watches for the first frame with it.
// (The program itself never reads the screen: it keeps the frames it draws.)
#pragma once

#include <windows.h>

#include <vector>

// Copies the top-left width x height pixels of the window's client area (as the screen shows
// them) into pixels, top row first, as A8R8G8B8 with alpha 0xFF. On failure pixels is empty.
inline HRESULT CaptureClientArea(HWND window, UINT width, UINT height, std::vector<DWORD>& pixels) {
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
