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

json Threshold(int alpha) { return alpha == kNeverCovered ? json(nullptr) : json(alpha); }

bool ThresholdsAgree(int was, int now) {
    if (was == kNeverCovered || now == kNeverCovered) return was == now;
    return std::abs(was - now) <= kAlphaSteps;
}

void CompareThresholds(const AlphaToCoverageMap& was, const AlphaToCoverageMap& now, const std::string& name,
                       const Pointer& path, DifferenceList* differences) {
    using Row = std::vector<std::vector<int>>;
    using Pixel = std::vector<int>;
    differences->CompareEach(name + ".thresholds", path, was.thresholds, now.thresholds,
                             [&](const std::string& row, const Pointer& rowAt, const Row& wasRow, const Row& nowRow) {
        differences->CompareEach(row, rowAt, wasRow, nowRow,
                                 [&](const std::string& pixel, const Pointer& pixelAt, const Pixel& wasPixel,
                                     const Pixel& nowPixel) {
            differences->CompareEach(pixel, pixelAt, wasPixel, nowPixel,
                                     [&](const std::string& sample, const Pointer& at, int wasAlpha, int nowAlpha) {
                if (ThresholdsAgree(wasAlpha, nowAlpha)) return;
                const json wasValue = Threshold(wasAlpha), nowValue = Threshold(nowAlpha);
                const std::string text = "was " + DifferenceValueText(wasValue) + " now " + DifferenceValueText(nowValue);
                differences->Add(sample, text, at, wasValue, nowValue);
            });
        });
    });
}

}  // namespace

void CompareAlphaToCoverage(const AlphaToCoverageMeasurement& was, const AlphaToCoverageMeasurement& now,
                            DifferenceList* differences) {
    const Pointer root;
    differences->CompareEach(std::string(), root, was.switches, now.switches,
                             [&](const std::string& name, const Pointer& at, const AlphaToCoverageMap& a,
                                 const AlphaToCoverageMap& b) {
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
    });
}
