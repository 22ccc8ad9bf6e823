// Turns what the resolve probe read back into the transfer curve, footprint and coverage verdicts.
// Plain data in, plain data out: no Direct3D, so that it can be tried on values made by hand.
#pragma once

#include <vector>

#include "analysis/resolve/resolve_measurement.h"

// The four ladders as resolved after the last draw was an sRGB-written one.
struct LastDrawReadings {
    std::vector<LadderStep> white;
    std::vector<LadderStep> grey;
    std::vector<LadderStep> srgbWhite;   // empty where sRGB writing was not tried
    std::vector<LadderStep> srgbGrey;
};

// Everything the probe read, in whole read-back steps, before any verdict.
struct ResolveReadings {
    int colourSamples = 1;
    int valueScale = 255;
    int greyDrawn = 128;
    std::vector<LadderStep> white;
    std::vector<LadderStep> grey;
    bool srgbTried = false;              // both sRGB rows drawn with the state taken
    long srgbCapsAnswer = 0;
    std::vector<CapsAnswer> srgbCaps;    // every form asked (srgb_write_caps.h)
    std::vector<LadderStep> srgbWhite;
    std::vector<LadderStep> srgbGrey;
    bool afterSrgbDrawTried = false;     // resolved again after an sRGB-written last draw
    LastDrawReadings afterSrgbDraw;
    int alphaScale = 0;                  // 0: the format has no alpha
    std::vector<LadderStep> alpha;
    std::vector<FootprintMap> footprints;
    std::vector<EdgeSweep> sweeps;       // offsets and values; levels and changes are found here
};

// Fills measurement (all but its milliseconds).
void DecodeResolve(const ResolveReadings& readings, ResolveMeasurement* measurement);

// One setting: both ladders against both references. The fully covered rung (covered ==
// samples) of each ladder is what its others are compared in proportion to.
TransferCurve DecodeTransfer(const std::vector<LadderStep>& ladder, const std::vector<LadderStep>& grey,
                             int samples, int valueScale);

// The ladders after an sRGB-written last draw beside those after a plain one (plain and sRGB
// written samples): whether any rung moved by more than the tolerance.
LastDrawLadders DecodeLastDraw(const ResolveReadings& readings, const ResolveTransfer& transfer);

// Box where no neighbour of the lit pixel read anything but 0 in any map.
Footprint DecodeFootprint(const std::vector<FootprintMap>& perSample);

// Levels and the offsets where they change, per sweep; the verdict from the most levels seen.
CoverageLevels DecodeCoverage(const std::vector<EdgeSweep>& sweeps, int colourSamples);

// A read-back intensity (0 .. 1, stored in levels steps; 0 levels: floating point, taken as 255)
// in whole steps.
int StepsOf(float intensity, int levels);
