// The resolve's verdicts: each ladder rung compared with the mean of the stored values and with
// the mean taken in linear light; each neighbour of a single lit sample checked for light; each
// sweep's distinct values counted.
#include "analysis/resolve/resolve_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {

// The fully covered rung's value: the most covered one the ladder has.
double FullValue(const std::vector<LadderStep>& ladder) {
    const LadderStep* full = nullptr;
    for (const LadderStep& step : ladder) {
        if (!full || step.covered > full->covered) full = &step;
    }
    return full ? full->value : 0.0;
}

// How far a ladder lies from each reference at worst, and whether the references differ by more
// than the tolerance's width anywhere.
struct Deviations {
    double stored = 0.0;
    double linear = 0.0;
    bool alike = true;
};

void AddDeviations(const std::vector<LadderStep>& ladder, int samples, int valueScale, Deviations* out) {
    const double full = FullValue(ladder);
    for (const LadderStep& step : ladder) {
        const double stored = StoredReference(step.covered, samples, full, valueScale);
        const double linear = LinearReference(step.covered, samples, full, valueScale);
        out->stored = std::max(out->stored, std::fabs(step.value - stored));
        out->linear = std::max(out->linear, std::fabs(step.value - linear));
        if (std::fabs(stored - linear) > 2.0 * kTransferToleranceSteps) out->alike = false;
    }
}

}  // namespace

int StepsOf(float intensity, int levels) {
    const int scale = levels > 0 ? levels : 255;
    return static_cast<int>(std::lround(static_cast<double>(intensity) * scale));
}

TransferCurve DecodeTransfer(const std::vector<LadderStep>& ladder, const std::vector<LadderStep>& grey,
                             int samples, int valueScale) {
    TransferCurve curve;
    curve.ladder = ladder;
    curve.grey = grey;
    if (ladder.empty() || samples <= 0) return curve;
    Deviations worst;
    AddDeviations(ladder, samples, valueScale, &worst);
    AddDeviations(grey, samples, valueScale, &worst);
    curve.referencesAlike = worst.alike;
    const bool stored = worst.stored <= kTransferToleranceSteps;
    const bool linear = worst.linear <= kTransferToleranceSteps;
    if (stored && (!linear || worst.stored <= worst.linear)) {
        curve.verdict = TransferVerdict::Stored;
    } else if (linear) {
        curve.verdict = TransferVerdict::Linear;
    } else {
        curve.verdict = TransferVerdict::Other;
    }
    return curve;
}

Footprint DecodeFootprint(const std::vector<FootprintMap>& perSample) {
    Footprint footprint;
    footprint.perSample = perSample;
    if (perSample.empty()) return footprint;
    bool box = true;
    for (const FootprintMap& map : perSample) {
        for (int y = 0; y < kFootprintSide; ++y) {
            for (int x = 0; x < kFootprintSide; ++x) {
                footprint.weights[y][x] += map.values[y][x];
                const bool centre = x == kFootprintSide / 2 && y == kFootprintSide / 2;
                if (!centre && map.values[y][x] != 0) box = false;
            }
        }
    }
    footprint.verdict = box ? FootprintVerdict::Box : FootprintVerdict::Wider;
    return footprint;
}

CoverageLevels DecodeCoverage(const std::vector<EdgeSweep>& sweeps, int colourSamples) {
    CoverageLevels coverage;
    coverage.colourSamples = colourSamples;
    coverage.sweeps = sweeps;
    for (EdgeSweep& sweep : coverage.sweeps) {
        sweep.levels = static_cast<int>(std::set<int>(sweep.values.begin(), sweep.values.end()).size());
        sweep.changes.clear();
        for (size_t k = 1; k < sweep.values.size() && k < sweep.offsets.size(); ++k) {
            if (sweep.values[k] != sweep.values[k - 1]) sweep.changes.push_back(sweep.offsets[k]);
        }
        coverage.levels = std::max(coverage.levels, sweep.levels);
    }
    if (coverage.levels == 0 || colourSamples <= 0) return coverage;
    coverage.coverageSamples = coverage.levels - 1;
    if (coverage.coverageSamples == colourSamples) {
        coverage.verdict = CoverageVerdict::Equal;
    } else if (coverage.coverageSamples > colourSamples) {
        coverage.verdict = CoverageVerdict::CoverageMode;
    } else {
        coverage.verdict = CoverageVerdict::Fewer;
    }
    return coverage;
}

LastDrawLadders DecodeLastDraw(const ResolveReadings& r, const ResolveTransfer& t) {
    LastDrawLadders last;
    if (!r.afterSrgbDrawTried || r.afterSrgbDraw.white.empty()) return last;
    last.measured = true;
    const LastDrawReadings& after = r.afterSrgbDraw;
    last.plain = DecodeTransfer(after.white, after.grey, r.colourSamples, r.valueScale);
    const auto moved = [](const std::vector<LadderStep>& was, const std::vector<LadderStep>& now) {
        if (was.size() != now.size()) return !was.empty() && !now.empty();
        for (size_t k = 0; k < was.size(); ++k) {
            if (std::abs(was[k].value - now[k].value) > kTransferToleranceSteps) return true;
        }
        return false;
    };
    last.dependsOnLastDraw = moved(r.white, after.white) || moved(r.grey, after.grey);
    if (t.srgbWrite.tried && !after.srgbWhite.empty() && !after.srgbGrey.empty()) {
        last.srgb = DecodeTransfer(after.srgbWhite, after.srgbGrey, r.colourSamples, r.valueScale);
        last.dependsOnLastDraw =
            last.dependsOnLastDraw || moved(r.srgbWhite, after.srgbWhite) || moved(r.srgbGrey, after.srgbGrey);
    }
    return last;
}

void DecodeResolve(const ResolveReadings& r, ResolveMeasurement* m) {
    ResolveTransfer& t = m->transfer;
    t.colourSamples = r.colourSamples;
    t.valueScale = r.valueScale;
    t.greyDrawn = r.greyDrawn;
    t.curve = DecodeTransfer(r.white, r.grey, r.colourSamples, r.valueScale);

    t.srgbWrite = SrgbWriteResult();
    // Tried means drawn and read: without both ladders there is no curve to judge.
    t.srgbWrite.tried = r.srgbTried && !r.srgbWhite.empty() && !r.srgbGrey.empty();
    t.srgbWrite.capsAnswer = r.srgbCapsAnswer;
    if (t.srgbWrite.tried) {
        t.srgbWrite.curve = DecodeTransfer(r.srgbWhite, r.srgbGrey, r.colourSamples, r.valueScale);
        const double encoded = LinearToSrgb(static_cast<double>(r.greyDrawn) / r.valueScale) * r.valueScale;
        t.srgbWrite.writeEncoded =
            !r.srgbGrey.empty() && std::fabs(FullValue(r.srgbGrey) - encoded) <= kTransferToleranceSteps;
    }
    t.srgbWrite.caps.answers = r.srgbCaps;
    t.srgbWrite.caps.tried = t.srgbWrite.tried;
    t.srgbWrite.caps.works = t.srgbWrite.writeEncoded;
    if (!t.srgbWrite.tried) t.srgbWrite.caps.tryCall = "SetRenderState(D3DRS_SRGBWRITEENABLE) not taken";

    t.alpha = AlphaLadder();
    if (r.alphaScale > 0 && !r.alpha.empty()) {
        t.alpha.measured = true;
        t.alpha.valueScale = r.alphaScale;
        t.alpha.curve = DecodeTransfer(r.alpha, {}, r.colourSamples, r.alphaScale);
    }

    t.afterSrgbDraw = DecodeLastDraw(r, t);

    m->footprint = DecodeFootprint(r.footprints);
    m->footprint.valueScale = r.valueScale;
    m->footprint.colourSamples = r.colourSamples;
    m->coverage = DecodeCoverage(r.sweeps, r.colourSamples);
}
