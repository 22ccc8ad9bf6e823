// A resolved value read back through the resolve's own ladder and its single-sample responses.
#include "analysis/resolve/resolve_counting.h"

#include <algorithm>
#include <cmath>

const char* const kNotBoxOfStoredValues = "the resolve is not a box of stored values: coverage cannot be counted from it";

namespace {

const char* const kNotMeasured = "the resolve was not measured: coverage cannot be counted without it";
const char* const kMixesNeighbours = "the resolve mixes neighbouring pixels: coverage cannot be counted from it";
const char* const kNoMask = "the mask cannot pick single samples in this mode";
const char* const kSampleLost =
    "a sample lit alone does not show through the resolve: single samples cannot be read from it";
const char* const kNoTransfer =
    "the resolve averages neither stored values nor linear light: a sample's value cannot be read through it";

}  // namespace

ResolveCounting CountingThrough(const ResolveMeasurement& resolve, bool maskable) {
    ResolveCounting counting;
    const ResolveTransfer& transfer = resolve.transfer;
    const Footprint& footprint = resolve.footprint;
    counting.samples = transfer.colourSamples;
    counting.transfer = transfer.curve.verdict;
    const double scale = transfer.valueScale > 0 ? transfer.valueScale : 255;
    counting.valueScale = static_cast<int>(scale);
    // Two values tell apart where they lie further apart than both their tolerances.
    const double apart = 2.0 * kTransferToleranceSteps;

    std::string declined;
    if (transfer.curve.ladder.empty() || footprint.verdict == FootprintVerdict::NotMeasured) {
        declined = kNotMeasured;
    } else if (footprint.verdict == FootprintVerdict::Wider) {
        declined = kMixesNeighbours;
    }
    counting.countDeclined = counting.singleDeclined = counting.valueDeclined = declined;
    if (!declined.empty()) return counting;

    // Counting: every sample weighs alike (each lit alone reads the same) and the rungs stand apart.
    const auto centre = [](const FootprintMap& map) { return map.values[kFootprintSide / 2][kFootprintSide / 2]; };
    int lowest = 1 << 30, highest = -1;
    for (const FootprintMap& map : footprint.perSample) {
        lowest = std::min(lowest, centre(map));
        highest = std::max(highest, centre(map));
    }
    bool rungsApart = transfer.curve.ladder.size() >= 2;
    for (size_t k = 1; k < transfer.curve.ladder.size(); ++k) {
        if (transfer.curve.ladder[k].value - transfer.curve.ladder[k - 1].value <= apart) rungsApart = false;
    }
    // Without a mask a lit position may hold coincident samples: only the rungs speak there.
    const bool alike = !maskable || (!footprint.perSample.empty() && highest - lowest <= apart);
    if (!alike || !rungsApart) {
        counting.countDeclined = kNotBoxOfStoredValues;
    } else {
        for (const LadderStep& rung : transfer.curve.ladder) {
            counting.rungs.push_back(rung.value / scale);
            counting.rungSamples.push_back(rung.covered);
        }
    }

    // Single samples: the mask picks them, and each alone shows through.
    if (!maskable) {
        counting.singleDeclined = kNoMask;
    } else if (footprint.perSample.empty() || lowest <= apart) {
        counting.singleDeclined = kSampleLost;
    } else {
        for (const FootprintMap& map : footprint.perSample) counting.alone.push_back(centre(map) / scale);
    }
    if (counting.transfer != TransferVerdict::Stored && counting.transfer != TransferVerdict::Linear) {
        counting.valueDeclined = kNoTransfer;
        return counting;
    }
    double total = 0.0;
    for (double value : counting.alone) {
        counting.weights.push_back(counting.transfer == TransferVerdict::Linear ? SrgbToLinear(value) : value);
        total += counting.weights.back();
    }
    for (double& weight : counting.weights) weight /= total;
    return counting;
}

int ResolveCounting::Count(double resolved) const {
    if (rungs.empty()) return 0;
    size_t nearest = 0;
    for (size_t k = 1; k < rungs.size(); ++k) {
        if (std::fabs(resolved - rungs[k]) < std::fabs(resolved - rungs[nearest])) nearest = k;
    }
    return rungSamples[nearest];
}

bool ResolveCounting::Lit(int sample, double resolved) const {
    if (sample < 0 || static_cast<size_t>(sample) >= alone.size()) return false;
    return resolved > alone[sample] / 2.0;
}

double ResolveCounting::SampleValue(int sample, double resolved) const {
    if (sample < 0 || static_cast<size_t>(sample) >= weights.size() || weights[sample] <= 0.0) return 0.0;
    const double value = transfer == TransferVerdict::Linear
                             ? LinearToSrgb(std::min(1.0, SrgbToLinear(resolved) / weights[sample]))
                             : resolved / weights[sample];
    return std::min(1.0, std::max(0.0, value));
}

double ResolveCounting::SampleValuePrecision(int sample) const {
    const double step = 1.0 / valueScale;
    double widest = 0.0;
    for (int k = 0; k < valueScale; ++k) {
        const double r = k * step;
        widest = std::max(widest, std::fabs(SampleValue(sample, r + step / 2.0) - SampleValue(sample, r)));
    }
    return step / 2.0 + widest;
}
