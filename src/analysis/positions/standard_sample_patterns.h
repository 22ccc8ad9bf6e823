// The standard sample patterns of 1, 2, 4, 8 and 16 samples (sample index order), in 1/16 pixel
// from the pixel's top-left corner: the positions later APIs report as the standard ones.
#pragma once

struct SixteenthsPoint {
    int x;
    int y;
};

struct StandardSamplePattern {
    int count;
    const SixteenthsPoint* points;  // count entries, by sample index
};

// The standard pattern for count samples; points is null where there is none (3, 5, ...).
StandardSamplePattern StandardPatternFor(int count);
