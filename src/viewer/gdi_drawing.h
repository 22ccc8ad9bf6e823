// The few GDI helpers the dialog's pictures share: an object selected for one drawing and deleted
// after it, rectangles filled or framed in one colour, and the start every picture makes.
#pragma once

#include <windows.h>

// Selects object into dc for its own life; on the way out selects the old one back, then deletes it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

inline void FillRectangle(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

inline void FrameRectangle(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

// What every picture shares: a white background, black words and grey lines.
constexpr COLORREF kPictureBackground = RGB(255, 255, 255);
constexpr COLORREF kPictureText = RGB(0, 0, 0);
constexpr COLORREF kPictureLine = RGB(96, 96, 96);

// A picture's start: area filled with the background, the GUI font in black on no background.
// Returns the DC's saved state, for RestoreDC when the picture is done.
inline int BeginPicture(HDC dc, const RECT& area) {
    FillRectangle(dc, area, kPictureBackground);
    const int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPictureText);
    return saved;
}
