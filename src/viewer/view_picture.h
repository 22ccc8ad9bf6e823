// One picture of a dialog page from the views on it: every diagram, evaluation, grid and ladder a
// panel with its caption under it, as many panels to a row as make them largest, and a legend of
// the marks no caption explains.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/session/measurement_view.h"

struct PicturePanel {
    RECT picture;
    RECT caption;
};

// Where n panels with these captions go in area, above a legend of legendHeight, the text measured
// in dc's font.
std::vector<PicturePanel> LayOutPanels(HDC dc, const RECT& area, const std::vector<std::string>& captions,
                                       int legendHeight);

// The views' picture elements, in the views' order; empty where they have none.
std::function<void(HDC, const RECT&)> ViewPicture(const std::vector<MeasurementView>& views);
