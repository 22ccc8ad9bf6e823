// The texts of the centroid measurement, as the pages and the survey show them.
#include "analysis/centroid/centroid_measurement.h"

std::string CoveredSampleRule(const std::vector<CentroidCase>& cases) {
    bool lowest = true;
    bool highest = true;
    for (const CentroidCase& c : cases) {
        if (c.atSample < 0) continue;
        const unsigned below = c.covered & ((1u << c.atSample) - 1u);
        const unsigned above = c.covered & ~((2u << c.atSample) - 1u);
        lowest = lowest && below == 0;
        highest = highest && above == 0;
    }
    return lowest ? "the lowest covered mask bit" : highest ? "the highest covered mask bit" : "which one varies";
}

std::string CentroidVerdictText(const CentroidMeasurement& m) {
    switch (m.verdict) {
    case CentroidVerdict::Unavailable:
        return m.unavailableReason.empty() ? "shader model not available"
                                           : "not measured: " + m.unavailableReason;
    case CentroidVerdict::Centroid: return "honoured: at the centroid of the covered samples";
    case CentroidVerdict::CoveredSample:
        return "honoured: at a covered sample (" + m.coveredSampleRule + ")";
    case CentroidVerdict::Centre: return "ignored: at the pixel centre";
    case CentroidVerdict::Other: return "elsewhere: not at the centroid, a covered sample or the pixel centre";
    }
    return "other";
}

bool CentroidHonoured(CentroidVerdict verdict) {
    return verdict == CentroidVerdict::Centroid || verdict == CentroidVerdict::CoveredSample;
}

namespace {

// A shader model's own result in the measurement's terms, for the texts.
CentroidMeasurement ModelResult(const CentroidShaderModel& model) {
    CentroidMeasurement m;
    m.verdict = model.verdict;
    m.coveredSampleRule = model.coveredSampleRule;
    return m;
}

std::string ShortColumnText(const CentroidMeasurement& m) {
    switch (m.verdict) {
    case CentroidVerdict::Unavailable:
        return m.unavailableReason.empty() ? "unavailable" : "n/a (" + m.unavailableReason + ")";
    case CentroidVerdict::Centroid: return "centroid";
    case CentroidVerdict::CoveredSample: return "covered sample (" + m.coveredSampleRule + ")";
    case CentroidVerdict::Centre: return "ignored (centre)";
    case CentroidVerdict::Other: return "elsewhere";
    }
    return "other";
}

}  // namespace

std::string CentroidShaderModelText(const CentroidShaderModel& model) {
    const std::string behaviour = model.caps.tried ? CentroidVerdictText(ModelResult(model)) + "; " : std::string();
    return behaviour + SwitchVerdictText(model.caps) + " (asked: " + CapsAnswersText(model.caps) + ")";
}

std::string CentroidBriefText(const CentroidMeasurement& m) {
    // Why it could not be measured is the longer column's to say.
    return m.verdict == CentroidVerdict::Unavailable ? "n/a" : ShortColumnText(m);
}

std::string CentroidColumnText(const CentroidMeasurement& m) {
    std::string text = ShortColumnText(m);
    for (const CentroidShaderModel& model : m.shaderModels) {
        text += "; " + model.shaderModel + " ";
        // A model whose verdict differs from the measurement's says its own.
        if (model.caps.tried && model.verdict != m.verdict) text += ShortColumnText(ModelResult(model)) + ", ";
        text += SwitchVerdictShortText(model.caps);
    }
    return text;
}
