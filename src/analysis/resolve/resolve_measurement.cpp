// The resolve's references, verdict texts and the survey's column texts.
#include "analysis/resolve/resolve_measurement.h"

#include <windows.h>
#include <d3d9.h>

#include <cmath>
#include <cstdio>

namespace {

std::string ValuesText(const std::vector<LadderStep>& ladder) {
    std::string text;
    for (const LadderStep& step : ladder) {
        if (!text.empty()) text += ", ";
        text += std::to_string(step.value);
    }
    return text;
}

// "averaged as stored values", "averaged in linear light" or "neither average (0, 70, 130, 200,
// 255)": a column's words for one setting.
std::string ShortVerdict(const TransferCurve& curve) {
    switch (curve.verdict) {
        case TransferVerdict::Stored: return "averaged as stored values";
        case TransferVerdict::Linear: return "averaged in linear light";
        case TransferVerdict::Other: return "neither average (" + ValuesText(curve.ladder) + ")";
        case TransferVerdict::NotMeasured: break;
    }
    return "not measured";
}

}  // namespace

double SrgbToLinear(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

double StoredReference(int covered, int samples, double full, int valueScale) {
    return samples > 0 ? full * covered / samples : 0.0;
}

double LinearReference(int covered, int samples, double full, int valueScale) {
    if (samples <= 0 || valueScale <= 0) return 0.0;
    const double linear = SrgbToLinear(full / valueScale) * covered / samples;
    return LinearToSrgb(linear) * valueScale;
}

std::string TransferVerdictText(const TransferCurve& curve) {
    switch (curve.verdict) {
        case TransferVerdict::Stored:
            return curve.referencesAlike ? "resolve averages stored values (linear light alike here)"
                                         : "resolve averages stored values";
        case TransferVerdict::Linear: return "resolve averages linear light (gamma-correct)";
        case TransferVerdict::Other: {
            std::string text = "other: " + ValuesText(curve.ladder);
            if (!curve.grey.empty()) text += "; grey " + ValuesText(curve.grey);
            return text;
        }
        case TransferVerdict::NotMeasured: break;
    }
    return "not measured";
}

std::string FootprintVerdictText(const Footprint& footprint) {
    switch (footprint.verdict) {
        case FootprintVerdict::Box: return "box: every pixel from its own samples";
        case FootprintVerdict::Wider: return "wider filter";
        case FootprintVerdict::NotMeasured: break;
    }
    return "not measured";
}

std::string CoverageVerdictText(const CoverageLevels& coverage) {
    switch (coverage.verdict) {
        case CoverageVerdict::Equal: return "coverage samples = colour samples";
        case CoverageVerdict::CoverageMode:
            return "coverage-sample mode: " + std::to_string(coverage.coverageSamples) + " coverage, " +
                   std::to_string(coverage.colourSamples) + " colour";
        case CoverageVerdict::Fewer: return "fewer levels than samples";
        case CoverageVerdict::NotMeasured: break;
    }
    return "not measured";
}

std::string ResolveColumnText(const ResolveMeasurement& m) {
    const ResolveTransfer& t = m.transfer;
    std::string text = ShortVerdict(t.curve);
    if (t.colourSamples == 1) text += " (1 sample)";
    if (t.srgbWrite.tried) {
        // Older files: the one caps answer they have beside what the writes did.
        const std::string claim = t.srgbWrite.caps.answers.empty()
                                      ? CapsAnswerText(t.srgbWrite.capsAnswer) + ", " +
                                            (t.srgbWrite.writeEncoded ? "encoded" : "not encoded")
                                      : SwitchVerdictShortText(t.srgbWrite.caps);
        text += "; sRGB write (" + claim + "): " + ShortVerdict(t.srgbWrite.curve);
    }
    if (t.alpha.measured && t.alpha.curve.verdict != t.curve.verdict) {
        text += "; alpha " + ShortVerdict(t.alpha.curve);
    }
    const LastDrawLadders& last = t.afterSrgbDraw;
    if (last.measured && !last.dependsOnLastDraw) {
        text += "; after an sRGB draw: the same";
    } else if (last.measured) {
        text += "; after an sRGB draw: " + ShortVerdict(last.plain);
        if (t.srgbWrite.tried) text += ", sRGB write " + ShortVerdict(last.srgb);
        text += " (depends on the last draw)";
    }
    return text;
}

std::string ResolveBriefText(const ResolveMeasurement& m) {
    const ResolveTransfer& t = m.transfer;
    std::string text;
    switch (t.curve.verdict) {
        case TransferVerdict::Stored: text = "stored values"; break;
        case TransferVerdict::Linear: text = "linear light"; break;
        case TransferVerdict::Other: text = "neither average"; break;
        case TransferVerdict::NotMeasured: return "not measured";
    }
    // A resolve that changes with the last draw is the finding a reader must not miss.
    if (t.afterSrgbDraw.measured && t.afterSrgbDraw.dependsOnLastDraw) text += ", depends on the last draw";
    return text;
}

std::string CoverageBriefText(const ResolveMeasurement& m) {
    const CoverageLevels& c = m.coverage;
    if (c.verdict == CoverageVerdict::NotMeasured) return "not measured";
    const std::string levels = std::to_string(c.levels) + " levels";
    if (c.verdict == CoverageVerdict::CoverageMode) return levels + " (" + std::to_string(c.coverageSamples) + " coverage)";
    if (c.verdict == CoverageVerdict::Fewer) return levels + " (fewer)";
    return levels;
}

std::string LastDrawText(const ResolveTransfer& t) {
    const LastDrawLadders& last = t.afterSrgbDraw;
    if (!last.measured) return "not measured";
    if (!last.dependsOnLastDraw) return "the same after an sRGB-written last draw: the resolve follows the samples";
    return "the resolve depends on the last draw, not only on the samples: after an sRGB-written last draw, "
           "plain samples " + ShortVerdict(last.plain) +
           (t.srgbWrite.tried ? ", sRGB-written samples " + ShortVerdict(last.srgb) : std::string());
}

std::string FilterColumnText(const ResolveMeasurement& m) {
    switch (m.footprint.verdict) {
        case FootprintVerdict::Box: return "box";
        case FootprintVerdict::Wider: {
            const int centre = m.footprint.weights[kFootprintSide / 2][kFootprintSide / 2];
            int spread = 0;
            for (const auto& row : m.footprint.weights) {
                for (int value : row) spread += value;
            }
            spread -= centre;
            return "wider (centre " + std::to_string(centre) + ", neighbours " +
                   std::to_string(spread) + " of " + std::to_string(m.footprint.valueScale) + ")";
        }
        case FootprintVerdict::NotMeasured: break;
    }
    return "not measured";
}

std::string CoverageColumnText(const ResolveMeasurement& m) {
    const CoverageLevels& c = m.coverage;
    const std::string levels = std::to_string(c.levels) + " levels";
    switch (c.verdict) {
        case CoverageVerdict::Equal:
            return levels + ", as " + std::to_string(c.colourSamples) + (c.colourSamples == 1 ? " sample gives" : " samples give");
        case CoverageVerdict::CoverageMode:
            return levels + ": " + std::to_string(c.coverageSamples) + " coverage, " +
                   std::to_string(c.colourSamples) + " colour";
        case CoverageVerdict::Fewer:
            return levels + ", fewer than " + std::to_string(c.colourSamples) + " samples";
        case CoverageVerdict::NotMeasured: break;
    }
    return "not measured";
}

std::string CapsAnswerText(long answer) {
    // CheckDeviceFormat's answers; any other code by its number.
    switch (static_cast<HRESULT>(answer)) {
        case D3D_OK: return "D3D_OK";
        case D3DERR_NOTAVAILABLE: return "D3DERR_NOTAVAILABLE";
        case D3DERR_INVALIDCALL: return "D3DERR_INVALIDCALL";
        default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(answer));
    return text;
}
