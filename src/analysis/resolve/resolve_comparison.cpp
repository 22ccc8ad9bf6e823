// Comparing two resolve measurements within the read-back's and the sweep's resolution.
#include "analysis/resolve/resolve_comparison.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/session/switch_finding_json.h"

#include "analysis/resolve/resolve_json.h"

namespace {

using nlohmann::json;
using Pointer = json::json_pointer;

// Values in steps of 1/wasScale and 1/nowScale agree within so many steps of the coarser scale.
bool WithinSteps(int was, int wasScale, int now, int nowScale, int steps) {
    if (wasScale <= 0 || nowScale <= 0) return was == now;
    const double step = 1.0 / std::min(wasScale, nowScale);
    return std::fabs(static_cast<double>(was) / wasScale - static_cast<double>(now) / nowScale) <= steps * step + 1e-9;
}

void CompareLadders(const std::vector<LadderStep>& was, int wasScale, const std::vector<LadderStep>& now, int nowScale,
                    const std::string& key, const Pointer& path, DifferenceList* differences) {
    differences->CompareEach(key, path / key, was, now,
                             [&](const std::string& rung, const Pointer& at, const LadderStep& a, const LadderStep& b) {
        differences->CompareValues(rung + ".covered", at / "covered", a.covered, b.covered);
        if (!WithinSteps(a.value, wasScale, b.value, nowScale, 1)) {
            differences->Add(rung + ".value", "was " + std::to_string(a.value) + " now " + std::to_string(b.value),
                             at / "value", a.value, b.value);
        }
    });
}

// A setting written as null where it was not drawn: in one result only, the whole object is the
// difference.
bool InBoth(bool was, bool now, const ResolveTransfer& wasTransfer, const ResolveTransfer& nowTransfer,
            const char* key, DifferenceList* differences) {
    if (was == now) return was;
    differences->CompareValues(key, Pointer() / key, json(wasTransfer)[key], json(nowTransfer)[key]);
    return false;
}

}  // namespace

void CompareResolveTransfer(const ResolveTransfer& was, const ResolveTransfer& now, DifferenceList* differences) {
    const Pointer root;
    if (InBoth(was.afterSrgbDraw.measured, now.afterSrgbDraw.measured, was, now, "afterSrgbDraw", differences)) {
        const LastDrawLadders& a = was.afterSrgbDraw;
        const LastDrawLadders& b = now.afterSrgbDraw;
        DifferenceList last;
        last.CompareValues("dependsOnLastDraw", root / "dependsOnLastDraw", a.dependsOnLastDraw, b.dependsOnLastDraw);
        const auto curve = [&](const TransferCurve& c, const TransferCurve& d, const char* key) {
            DifferenceList one;
            CompareLadders(c.grey, was.valueScale, d.grey, now.valueScale, "grey", root, &one);
            CompareLadders(c.ladder, was.valueScale, d.ladder, now.valueScale, "ladder", root, &one);
            one.CompareValues("verdict", root / "verdict", TransferVerdictJsonName(c.verdict),
                              TransferVerdictJsonName(d.verdict));
            last.AddAll(one, key, root / key);
        };
        curve(a.plain, b.plain, "plain");
        if (was.srgbWrite.tried && now.srgbWrite.tried) curve(a.srgb, b.srgb, "srgbWrite");
        differences->AddAll(last, "afterSrgbDraw", root / "afterSrgbDraw");
    }
    if (InBoth(was.alpha.measured, now.alpha.measured, was, now, "alpha", differences)) {
        DifferenceList alpha;
        CompareLadders(was.alpha.curve.ladder, was.alpha.valueScale, now.alpha.curve.ladder, now.alpha.valueScale,
                       "ladder", root, &alpha);
        alpha.CompareValues("valueScale", root / "valueScale", was.alpha.valueScale, now.alpha.valueScale);
        alpha.CompareValues("verdict", root / "verdict", TransferVerdictJsonName(was.alpha.curve.verdict),
                            TransferVerdictJsonName(now.alpha.curve.verdict));
        differences->AddAll(alpha, "alpha", root / "alpha");
    }
    CompareLadders(was.curve.grey, was.valueScale, now.curve.grey, now.valueScale, "grey", root, differences);
    differences->CompareValues("greyDrawn", root / "greyDrawn", was.greyDrawn, now.greyDrawn);
    CompareLadders(was.curve.ladder, was.valueScale, now.curve.ladder, now.valueScale, "ladder", root, differences);
    if (InBoth(was.srgbWrite.tried, now.srgbWrite.tried, was, now, "srgbWrite", differences)) {
        const SrgbWriteResult& a = was.srgbWrite;
        const SrgbWriteResult& b = now.srgbWrite;
        DifferenceList srgb;
        srgb.CompareValues("capsAnswer", root / "capsAnswer", CapsAnswerText(a.capsAnswer), CapsAnswerText(b.capsAnswer));
        CompareLadders(a.curve.grey, was.valueScale, b.curve.grey, now.valueScale, "grey", root, &srgb);
        CompareLadders(a.curve.ladder, was.valueScale, b.curve.ladder, now.valueScale, "ladder", root, &srgb);
        srgb.CompareValues("verdict", root / "verdict", TransferVerdictJsonName(a.curve.verdict),
                           TransferVerdictJsonName(b.curve.verdict));
        srgb.CompareValues("writeEncoded", root / "writeEncoded", a.writeEncoded, b.writeEncoded);
        if (!a.caps.answers.empty() && !b.caps.answers.empty()) {
            CompareSwitchFindings(a.caps, b.caps, "caps", root / "caps", &srgb);
        }
        differences->AddAll(srgb, "srgbWrite", root / "srgbWrite");
    }
    differences->CompareValues("valueScale", root / "valueScale", was.valueScale, now.valueScale);
    differences->CompareValues("verdict", root / "verdict", TransferVerdictJsonName(was.curve.verdict),
                               TransferVerdictJsonName(now.curve.verdict));
}

void CompareFootprint(const Footprint& was, const Footprint& now, DifferenceList* differences) {
    const Pointer root;
    differences->CompareValues("valueScale", root / "valueScale", was.valueScale, now.valueScale);
    differences->CompareValues("verdict", root / "verdict", FootprintVerdictJsonName(was.verdict),
                               FootprintVerdictJsonName(now.verdict));
    const int samples = std::max({was.colourSamples, now.colourSamples, 1});
    for (int y = 0; y < kFootprintSide; ++y) {
        for (int x = 0; x < kFootprintSide; ++x) {
            const int a = was.weights[y][x], b = now.weights[y][x];
            if (WithinSteps(a, was.valueScale, b, now.valueScale, samples)) continue;
            differences->Add("weights[" + std::to_string(y) + "][" + std::to_string(x) + "]",
                             "was " + std::to_string(a) + " now " + std::to_string(b), root / "weights" / y / x, a, b);
        }
    }
}

void CompareCoverageLevels(const CoverageLevels& was, const CoverageLevels& now, DifferenceList* differences) {
    const Pointer root;
    differences->CompareValues("colourSamples", root / "colourSamples", was.colourSamples, now.colourSamples);
    differences->CompareValues("coverageSamples", root / "coverageSamples", was.coverageSamples, now.coverageSamples);
    differences->CompareEach("edgePositions", root / "edgePositions", was.sweeps, now.sweeps,
                             [&](const std::string& name, const Pointer& at, const EdgeSweep& a, const EdgeSweep& b) {
        differences->CompareEach(name + ".changes", at / "changes", a.changes, b.changes,
                                 [&](const std::string& change, const Pointer& changeAt, double c, double d) {
            differences->CompareWithin(change, changeAt, c, d, kEdgeStep);
        });
        differences->CompareValues(name + ".edge", at / "edge", a.edge, b.edge);
        differences->CompareValues(name + ".normal", at / "normal", json{a.normalX, a.normalY},
                                   json{b.normalX, b.normalY});
    });
    differences->CompareValues("levels", root / "levels", was.levels, now.levels);
    differences->CompareValues("verdict", root / "verdict", CoverageVerdictJsonName(was.verdict),
                               CoverageVerdictJsonName(now.verdict));
}

void CompareResolve(const ResolveMeasurement& was, const ResolveMeasurement& now, DifferenceList* differences) {
    DifferenceList coverage, footprint, transfer;
    CompareCoverageLevels(was.coverage, now.coverage, &coverage);
    CompareFootprint(was.footprint, now.footprint, &footprint);
    CompareResolveTransfer(was.transfer, now.transfer, &transfer);
    const nlohmann::json::json_pointer root;
    differences->AddAll(coverage, "coverage", root / "coverage");
    differences->AddAll(footprint, "footprint", root / "footprint");
    differences->AddAll(transfer, "transfer", root / "transfer");
}
