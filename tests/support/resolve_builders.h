// Hand-made resolve readings for the tests of what reads a ResolveMeasurement: the JSON, the
// Resolve page.
#pragma once

#include <initializer_list>
#include <vector>

#include "analysis/resolve/resolve_decoder.h"

namespace test_support {

// Rungs k = 0, 1, ... with these values.
inline std::vector<LadderStep> Ladder(std::initializer_list<int> values) {
    std::vector<LadderStep> ladder;
    for (int value : values) ladder.push_back({static_cast<int>(ladder.size()), value});
    return ladder;
}

// What Wine's device reads at 4 samples: stored averaging, sRGB writes encoded though the caps
// answer says D3DERR_NOTAVAILABLE, a box, and a vertical edge changing level at the standard
// positions 2, 6, 10 and 14 /16.
inline ResolveReadings FourSampleReadings() {
    ResolveReadings r;
    r.colourSamples = 4;
    r.white = Ladder({0, 64, 128, 191, 255});
    r.grey = Ladder({0, 32, 64, 96, 128});
    r.srgbTried = true;
    r.srgbCapsAnswer = static_cast<long>(0x8876086A);
    r.srgbWhite = r.white;
    r.srgbGrey = Ladder({0, 47, 94, 141, 188});
    FootprintMap lit;
    lit.values[2][2] = 64;
    r.footprints.assign(4, lit);
    EdgeSweep sweep;
    sweep.edge = "vertical";
    sweep.offsets = {0.0, 17 * kEdgeStep, 49 * kEdgeStep, 81 * kEdgeStep, 113 * kEdgeStep};
    sweep.values = {0, 64, 128, 191, 255};
    r.sweeps = {sweep};
    return r;
}

}  // namespace test_support
