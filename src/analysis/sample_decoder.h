// Turns the probe's resolved pictures into sample positions and verdicts. Plain data in, plain
// data out: no Direct3D, so that it can be tested against pictures made from known positions.
#pragma once

#include <vector>

#include "analysis/sample_measurement.h"

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

#include "analysis/probe_pattern.h"

struct ProbeImages {
    ProbePattern pattern;
    int multisampleType = 0;
    unsigned multisampleQuality = 0;
    bool maskable = false;
    // S for a maskable type (the mask bits); 0 where the count is read from the pictures.
    int sampleCount = 1;
    std::vector<IntensityImage> bitMaps;  // maskable: one per mask bit, bit 0 first
    IntensityImage allBits;               // every sample enabled
    IntensityImage texture;               // the textured points; empty when not drawn
};

// Fills measurement from the pictures (all but its milliseconds).
void DecodeSamplePositions(const ProbeImages& images, SampleMeasurement* measurement);

// The intensity pictures of channel bits at shift in 32-bit pixels (green of X8R8G8B8: 8, 8).
IntensityImage IntensityFromPixels(const void* pixels, int width, int height, int pitch,
                                   int bytesPerPixel, int shift, int bits);
