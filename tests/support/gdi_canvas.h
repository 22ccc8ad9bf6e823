// A 32-bit top-down picture that GDI draws into and a test reads: for the dialog's pictures.
#pragma once

#include <windows.h>

namespace test_support {

class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    // The pixels as A8R8G8B8 words, top row first (alpha as GDI left it).
    const DWORD* Bits() const {
        GdiFlush();
        return bits_;
    }
    COLORREF At(POINT p) const {
        GdiFlush();
        const DWORD pixel = bits_[p.y * width_ + p.x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // Whether the colour appears within distance of p.
    bool Near(POINT p, int distance, COLORREF colour) const {
        for (int dy = -distance; dy <= distance; ++dy) {
            for (int dx = -distance; dx <= distance; ++dx) {
                if (At(POINT{p.x + dx, p.y + dy}) == colour) return true;
            }
        }
        return false;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

}  // namespace test_support
