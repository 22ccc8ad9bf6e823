// Hand-made resolve readings for the tests of what reads a ResolveMeasurement: the JSON, the
// Resolve page.
#pragma once

#include <initializer_list>
#include <vector>

#include "analysis/resolve/resolve_counting.h"
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

// Counting through a box resolve of stored values at this many samples, as the alpha-to-coverage
// and centroid probes get it from a resolve measured on an honest device.
inline ResolveCounting BoxCounting(int samples, bool maskable) {
    ResolveReadings r;
    r.colourSamples = samples;
    for (int k = 0; k <= samples; ++k) {
        r.white.push_back({k, (255 * k + samples / 2) / samples});
        r.grey.push_back({k, (128 * k + samples / 2) / samples});
    }
    FootprintMap lit;
    lit.values[2][2] = (255 + samples / 2) / samples;
    r.footprints.assign(static_cast<size_t>(samples), lit);
    ResolveMeasurement m;
    DecodeResolve(r, &m);
    return CountingThrough(m, maskable);
}

}  // namespace test_support
