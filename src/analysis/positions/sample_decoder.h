// Turns the probe's resolved pictures into sample positions and verdicts. Plain data in, plain
// data out: no Direct3D, so that it can be tested against pictures made from known positions.
#pragma once

#include <vector>

#include "analysis/probing/probe_pattern.h"
#include "analysis/positions/sample_measurement.h"

// One resolved picture, one intensity per pixel from 0 (black) to 1 (white), top row first.
struct IntensityImage {
    int width = 0;
    int height = 0;
    std::vector<float> values;
    // The steps the pixels were stored in (255 for 8 bits a channel); 0 for floating point.
    int levels = 0;

    bool Empty() const { return values.empty(); }
    float At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

// The pictures of one measurement and what the probe knew when it drew them.
struct ProbeImages {
    ProbePattern pattern;
    bool maskable = false;  // bitMaps hold one picture per mask bit
    // Samples a pixel has: the mask bits of a maskable type, 1 without multisampling, 0 where
    // only the pictures can tell (the non-maskable type).
    int sampleCount = 1;
    std::vector<IntensityImage> bitMaps;  // maskable: one per mask bit, bit 0 first
    IntensityImage allBits;               // every sample enabled
    IntensityImage texture;               // the textured points; empty when not drawn
};

// Fills measurement from the pictures.
void DecodeSamplePositions(const ProbeImages& images, SampleMeasurement* measurement);

// The intensities of one channel, bits wide at shift, of pixels bytesPerPixel apart (the green
// of X8R8G8B8: 4, 8, 8).
IntensityImage IntensityFromPixels(const void* pixels, int width, int height, int pitch,
                                   int bytesPerPixel, int shift, int bits);
