// The texts of the alpha-to-coverage measurement, as the pages and the survey show them.
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/session/measurement_view.h"

namespace {

std::string Join(const std::vector<int>& values, const char* separator) {
    std::string text;
    for (size_t k = 0; k < values.size(); ++k) {
        if (k > 0) text += separator;
        text += values[k] == kNeverCovered ? std::string("never") : std::to_string(values[k]);
    }
    return text;
}

// The rule the sorted thresholds t(1) .. t(S) follow, where one of the common ones fits within
// an alpha step and a half (a rounding either way): "k/4" means t(k) = 255 k/4.
std::string ThresholdRule(const std::vector<int>& sorted) {
    const int count = static_cast<int>(sorted.size());
    struct Rule {
        const char* form;  // %d is S, or S + 1
        double offset;     // t(k) = 255 (k + offset) / (S + extra)
        int extra;
    };
    static const Rule kRules[] = {
        {"k/%d", 0.0, 0},
        {"(k-1/2)/%d", -0.5, 0},
        {"(k-1)/%d", -1.0, 0},
        {"k/%d", 0.0, 1},
    };
    for (const Rule& rule : kRules) {
        bool fits = true;
        for (int k = 1; k <= count && fits; ++k) {
            const double expected = 255.0 * (k + rule.offset) / (count + rule.extra);
            fits = sorted[k - 1] != kNeverCovered && std::fabs(sorted[k - 1] - expected) <= 1.5;
        }
        if (fits) {
            char text[32];
            std::snprintf(text, sizeof text, rule.form, count + rule.extra);
            return text;
        }
    }
    return std::string();
}

}  // namespace

const char* CoverageSwitchName(CoverageSwitch coverageSwitch) {
    switch (coverageSwitch) {
    case CoverageSwitch::AtocWithAlphaTest: return "ATOC+alphaTest";
    case CoverageSwitch::Atoc: return "ATOC";
    case CoverageSwitch::A2m1: return "A2M1";
    }
    return "?";
}

const char* CoverageSwitchLabel(CoverageSwitch coverageSwitch) {
    return coverageSwitch == CoverageSwitch::AtocWithAlphaTest ? "ATOC with alpha test" : CoverageSwitchName(coverageSwitch);
}

std::string AlphaToCoverageVerdictText(const AlphaToCoverageMap& map) {
    switch (map.verdict) {
    case AlphaToCoverageVerdict::NotOffered:
        // Older files left a switch out where it was not offered; now only a reason does.
        return map.caps.answers.empty() || map.caps.tried ? std::string("not offered") : "not measured: " + map.caps.tryCall;
    case AlphaToCoverageVerdict::NotApplied: return "not applied";
    case AlphaToCoverageVerdict::Other: return "other: neither fixed thresholds nor an ordered dither";
    case AlphaToCoverageVerdict::Declined: return "not counted: " + map.declined;
    case AlphaToCoverageVerdict::Dither:
        return "ordered dither over " + std::to_string(map.ditherWidth) + " x " +
               std::to_string(map.ditherHeight) + " pixels";
    case AlphaToCoverageVerdict::Thresholds: {
        if (map.thresholds.empty() || map.thresholds[0].empty()) return "thresholds";
        std::vector<int> sorted = map.thresholds[0][0];
        std::sort(sorted.begin(), sorted.end());
        const std::string rule = ThresholdRule(sorted);
        return "thresholds " + (rule.empty() ? std::string() : rule + " ") + "(alpha " +
               Join(sorted, ", ") + "), the same in every pixel";
    }
    }
    return "other";
}

std::string DitherMatrixText(const AlphaToCoverageMap& map) {
    std::string text;
    const int height = map.verdict == AlphaToCoverageVerdict::Dither ? map.ditherHeight : 0;
    const int width = map.ditherWidth;
    for (int y = 0; y < height && y < static_cast<int>(map.thresholds.size()); ++y) {
        for (int x = 0; x < width && x < static_cast<int>(map.thresholds[y].size()); ++x) {
            text += (x > 0 ? "  " : "") + std::string("[") + Join(map.thresholds[y][x], " ") + "]";
        }
        text += "\n";
    }
    return text;
}

bool AlphaToCoverageWorks(AlphaToCoverageVerdict verdict) {
    switch (verdict) {
    case AlphaToCoverageVerdict::Thresholds:
    case AlphaToCoverageVerdict::Dither:
    case AlphaToCoverageVerdict::Other: return true;
    case AlphaToCoverageVerdict::NotOffered:
    case AlphaToCoverageVerdict::NotApplied:
    case AlphaToCoverageVerdict::Declined: return false;  // not known to work: nothing could be counted
    }
    return false;
}

std::string AlphaToCoverageFindingText(const AlphaToCoverageMap& map) {
    if (map.verdict == AlphaToCoverageVerdict::Thresholds) {
        std::vector<int> sorted = map.thresholds[0][0];
        std::sort(sorted.begin(), sorted.end());
        const std::string rule = ThresholdRule(sorted);
        return "thresholds " + (rule.empty() ? Join(sorted, "/") : rule);
    }
    if (map.verdict == AlphaToCoverageVerdict::Dither) {
        return "dither " + std::to_string(map.ditherWidth) + "x" + std::to_string(map.ditherHeight);
    }
    if (map.verdict == AlphaToCoverageVerdict::Declined) return "not counted";
    return AlphaToCoverageVerdictText(map);
}

std::string AlphaToCoverageColumnText(const AlphaToCoverageMeasurement& m) {
    std::string text;
    std::string declined;  // said once, after the switches it kept from being counted
    for (const AlphaToCoverageMap& map : m.switches) {
        if (!text.empty()) text += "; ";
        text += std::string(CoverageSwitchLabel(map.coverageSwitch)) + ": " + AlphaToCoverageFindingText(map);
        if (map.verdict == AlphaToCoverageVerdict::Declined) declined = map.declined;
        if (!map.caps.answers.empty()) text += " (" + SwitchVerdictShortText(map.caps) + ")";
    }
    if (!declined.empty()) text += " (" + declined + ")";
    return text.empty() ? "not measured" : text;
}

std::string AlphaToCoverageBriefText(const AlphaToCoverageMeasurement& m) {
    if (m.switches.empty()) return "not measured";
    // The switches usually agree: their finding is then said once, alone.
    std::vector<ViewFact> findings;
    for (const AlphaToCoverageMap& map : m.switches) {
        findings.push_back({CoverageSwitchLabel(map.coverageSwitch), AlphaToCoverageFindingText(map), ""});
    }
    findings = JoinedByValue(findings);
    if (findings.size() == 1) return findings.front().value;
    std::string text;
    for (const ViewFact& f : findings) text += (text.empty() ? "" : "; ") + f.label + ": " + f.value;
    return text;
}
