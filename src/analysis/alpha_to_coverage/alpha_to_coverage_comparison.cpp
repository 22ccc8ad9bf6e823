// Comparing two alpha-to-coverage measurements within an alpha step.
#include "analysis/alpha_to_coverage/alpha_to_coverage_comparison.h"

#include <cstdlib>
#include <string>

#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/session/switch_finding_json.h"

namespace {

using nlohmann::json;
using Pointer = json::json_pointer;

constexpr int kAlphaSteps = 1;

std::string Index(size_t i) { return "[" + std::to_string(i) + "]"; }

json Threshold(int alpha) { return alpha == kNeverCovered ? json(nullptr) : json(alpha); }

bool ThresholdsAgree(int was, int now) {
    if (was == kNeverCovered || now == kNeverCovered) return was == now;
    return std::abs(was - now) <= kAlphaSteps;
}

void CompareThresholds(const AlphaToCoverageMap& was, const AlphaToCoverageMap& now, const std::string& name,
                       const Pointer& path, DifferenceList* differences) {
    const std::string rows = name + ".thresholds";
    differences->CompareCounts(rows, path, was.thresholds.size(), now.thresholds.size());
    for (size_t y = 0; y < was.thresholds.size() && y < now.thresholds.size(); ++y) {
        const auto& a = was.thresholds[y];
        const auto& b = now.thresholds[y];
        differences->CompareCounts(rows + Index(y), path / y, a.size(), b.size());
        for (size_t x = 0; x < a.size() && x < b.size(); ++x) {
            differences->CompareCounts(rows + Index(y) + Index(x), path / y / x, a[x].size(), b[x].size());
            for (size_t s = 0; s < a[x].size() && s < b[x].size(); ++s) {
                if (ThresholdsAgree(a[x][s], b[x][s])) continue;
                const json wasAlpha = Threshold(a[x][s]), nowAlpha = Threshold(b[x][s]);
                differences->Add(rows + Index(y) + Index(x) + Index(s),
                                 "was " + DifferenceValueText(wasAlpha) + " now " + DifferenceValueText(nowAlpha),
                                 path / y / x / s, wasAlpha, nowAlpha);
            }
        }
    }
}

}  // namespace

void CompareAlphaToCoverage(const AlphaToCoverageMeasurement& was, const AlphaToCoverageMeasurement& now,
                            DifferenceList* differences) {
    const Pointer root;
    differences->CompareCounts(std::string(), root, was.switches.size(), now.switches.size());
    for (size_t i = 0; i < was.switches.size() && i < now.switches.size(); ++i) {
        const AlphaToCoverageMap& a = was.switches[i];
        const AlphaToCoverageMap& b = now.switches[i];
        const std::string name = Index(i);
        const Pointer at = root / i;
        if (a.verdict == AlphaToCoverageVerdict::Dither && b.verdict == AlphaToCoverageVerdict::Dither) {
            differences->CompareValues(name + ".dither", at / "dither",
                                       json{{"width", a.ditherWidth}, {"height", a.ditherHeight}},
                                       json{{"width", b.ditherWidth}, {"height", b.ditherHeight}});
        }
        differences->CompareValues(name + ".offered", at / "offered", a.offered, b.offered);
        // An older file recorded no caps beyond offered.
        if (!a.caps.answers.empty() && !b.caps.answers.empty()) {
            CompareSwitchFindings(a.caps, b.caps, name + ".caps", at / "caps", differences);
        }
        differences->CompareValues(name + ".switch", at / "switch", CoverageSwitchJsonName(a.coverageSwitch),
                                   CoverageSwitchJsonName(b.coverageSwitch));
        CompareThresholds(a, b, name, at / "thresholds", differences);
        differences->CompareValues(name + ".verdict", at / "verdict", AlphaToCoverageVerdictJsonName(a.verdict),
                                   AlphaToCoverageVerdictJsonName(b.verdict));
    }
}
