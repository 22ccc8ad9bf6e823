// One page of the Sample Positions dialog: its tab's title, its tables as text (shown in the
// page's text box, and what Copy and the saved text carry after the heading lines) and its
// picture, painted into the page's drawing area. Each measurement makes its own page.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct MeasurementPage {
    std::string title;
    std::string text;
    // May be empty: a page without a picture. Paints the whole of area (white background first).
    std::function<void(HDC context, const RECT& area)> paint;
};
