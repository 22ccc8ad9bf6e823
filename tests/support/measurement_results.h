// Whole results of every measurement family, each field away from its default where the JSON
// holds it (a valueScale other than 255, an interval that is not exact, a dither, a centroid
// case), for the tests of reading the JSON back and of comparing two results.
#pragma once

#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/positions/sample_measurement.h"
#include "analysis/resolve/resolve_measurement.h"
#include "support/measurement_builders.h"
#include "support/resolve_builders.h"

namespace test_support {

inline SampleMeasurement SomePositions() {
    SampleMeasurement m;
    m.gridSize = 64;
    // [21/64, 23/64) as the decoder leaves it, with float error the JSON rounds away.
    m.samples = {ExactSample(0, 6, 2), SampleAt(1, IntervalAxis(21.0 / 64 + 1e-7, 23.0 / 64 - 1e-7), ExactAxis(6)),
                 ExactSample(2, 2, 10), SampleAt(-1, ExactAxis(10), ExactAxis(14), 2)};
    m.distinctSamples = 4;
    m.textureSampling = TextureSampling::PerSample;
    m.texturePositions = {ExactSample(-1, 6, 2), ExactSample(-1, 14, 6)};
    m.standardPattern = true;
    m.maskOrderStandard = false;
    m.quadsDiffer = true;
    m.resolveNotAverage = true;
    m.unionMatchesAllBits = true;
    m.picturesConsistent = false;
    QuadPositions quad;
    quad.parityX = 1;
    quad.samples = {ExactSample(0, 7, 2)};
    m.quads = {quad};
    return m;
}

// A 10-bit channel: steps of 1/1023.
inline ResolveMeasurement SomeResolve() {
    ResolveMeasurement m;
    ResolveTransfer& t = m.transfer;
    t.colourSamples = 4;
    t.valueScale = 1023;
    t.greyDrawn = 514;
    t.curve.verdict = TransferVerdict::Stored;
    t.curve.ladder = Ladder({0, 256, 512, 767, 1023});
    t.curve.grey = Ladder({0, 128, 257, 385, 514});
    t.srgbWrite.tried = true;
    t.srgbWrite.capsAnswer = static_cast<long>(0x80004005);
    t.srgbWrite.writeEncoded = true;
    // Refused in the bare form, claimed with the render-target usage; and written encoded.
    t.srgbWrite.caps.answers = {{"surface", "0x80004005", false}, {"render target", "D3D_OK", true}};
    t.srgbWrite.caps.tried = true;
    t.srgbWrite.caps.works = true;
    t.srgbWrite.curve.verdict = TransferVerdict::Linear;
    t.srgbWrite.curve.ladder = Ladder({0, 550, 750, 900, 1023});
    t.srgbWrite.curve.grey = Ladder({0, 380, 520, 640, 755});
    t.alpha.measured = true;
    t.alpha.valueScale = 3;
    t.alpha.curve.verdict = TransferVerdict::Other;
    t.alpha.curve.ladder = Ladder({0, 1, 2, 2, 3});
    m.footprint.verdict = FootprintVerdict::Wider;
    m.footprint.valueScale = 1023;
    m.footprint.colourSamples = 4;
    m.footprint.weights[2][2] = 900;
    m.footprint.weights[2][3] = 124;
    m.coverage.verdict = CoverageVerdict::CoverageMode;
    m.coverage.levels = 9;
    m.coverage.coverageSamples = 8;
    m.coverage.colourSamples = 4;
    EdgeSweep sweep;
    sweep.edge = "shallow";
    sweep.normalX = 0.24253562503633297;
    sweep.normalY = 0.9701425001453319;
    sweep.changes = {17 * kEdgeStep, 49 * kEdgeStep, 81 * kEdgeStep};
    m.coverage.sweeps = {sweep};
    return m;
}

inline AlphaToCoverageMeasurement SomeAlphaToCoverage() {
    AlphaToCoverageMap dither;
    dither.coverageSwitch = CoverageSwitch::Atoc;
    dither.offered = true;
    dither.verdict = AlphaToCoverageVerdict::Dither;
    dither.ditherWidth = 2;
    dither.ditherHeight = 4;
    dither.thresholds.assign(kCoverageBlock, std::vector<std::vector<int>>(kCoverageBlock, {10, 90, 170, kNeverCovered}));
    dither.thresholds[2][1] = {20, 100, 180, 250};
    dither.caps.answers = {{"'ATOC'", "D3DERR_NOTAVAILABLE", false}};
    dither.caps.tried = true;
    dither.caps.works = true;
    AlphaToCoverageMap absent;
    absent.coverageSwitch = CoverageSwitch::A2m1;
    absent.caps.answers = {{"'A2M1'", "D3D_OK", true}};
    absent.caps.tryCall = "no sample found";
    AlphaToCoverageMeasurement m;
    m.switches = {dither, absent};
    return m;
}

inline CentroidMeasurement SomeCentroid() {
    CentroidMeasurement m;
    m.verdict = CentroidVerdict::CoveredSample;
    m.coveredSampleRule = "the lowest covered mask bit";
    m.unavailableReason = "one sample per pixel";  // shown only where the verdict is unavailable
    m.precision = 11.0 / 1024;
    CentroidCase c;
    c.covered = 0x6;
    c.centreCovered = true;
    c.evaluated = {14.0 / 16, 6.0 / 16};
    c.plain = {0.5, 0.5};
    c.atSample = 1;
    CentroidCase none;
    none.covered = 0x8;
    none.evaluated = {517.0 / 1024, 0.25};
    none.plain = {0.5, 0.5};
    m.cases = {c, none};
    CentroidShaderModel refused;
    refused.shaderModel = "ps_3_0";
    refused.caps.answers = {{"versions", "ps 3.0, vs 3.0", true}};
    refused.caps.tryCall = "CreatePixelShader";
    refused.caps.tryResult = static_cast<long>(0x8876086C);
    CentroidShaderModel drawn;
    drawn.shaderModel = "ps_2_0";
    drawn.caps = {{{"versions", "ps 3.0, vs 3.0", true}}, true, 0, "", true};
    drawn.verdict = CentroidVerdict::CoveredSample;
    drawn.coveredSampleRule = "the highest covered mask bit";
    m.shaderModels = {refused, drawn};
    return m;
}

inline AntialiasOffMeasurement SomeAntialiasOff() {
    AntialiasOffMeasurement m;
    m.verdict = AntialiasOffVerdict::Unchanged;
    m.positions.samples = {ExactSample(0, 6, 2), SampleAt(1, IntervalAxis(0.25, 0.375), ExactAxis(6))};
    return m;
}

}  // namespace test_support
