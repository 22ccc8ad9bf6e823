// The denominator n of a "1/n Point Size" setting, as the menu check marks and the status line
// show it: 1/pointSize plus 0.1, truncated, so that 1/12 rounded to a float still reads 12.
#pragma once

inline int PointSizeDenominator(float pointSize) {
    return static_cast<int>(1.0 / pointSize + 0.1);
}
