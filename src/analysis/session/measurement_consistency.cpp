// The sample counts a mode's measurements give, held against each other.
#include "analysis/session/measurement_consistency.h"

namespace {

struct SampleCount {
    const char* source;
    int samples;
};

// "positions found 2 samples, the coverage levels 4 and the type 4".
std::string Listed(const std::vector<SampleCount>& counts) {
    std::string text;
    for (size_t k = 0; k < counts.size(); ++k) {
        if (k > 0) text += k + 1 == counts.size() ? " and " : ", ";
        text += counts[k].source;
        text += ' ' + std::to_string(counts[k].samples);
        if (k == 0) text += counts[k].samples == 1 ? " sample" : " samples";
    }
    return text;
}

}  // namespace

std::vector<std::string> MeasurementContradictions(const ModeMeasurement& measurement) {
    int found = 0;
    for (const SamplePosition& sample : measurement.samplePositions.samples) found += sample.count;
    if (found == 0) return {"positions found no sample"};

    const ResolveMeasurement& resolve = measurement.resolve;
    const int typeSamples = measurement.mode.MaskSamples();
    std::vector<SampleCount> counts = {{"positions found", found}};
    bool agree = true;
    if (resolve.coverage.levels > 0) {
        const int coverage = resolve.coverage.levels - 1;
        counts.push_back({"the coverage levels", coverage});
        const bool coverageMode = coverage > found && measurement.mode.Maskable();
        if (coverage != found && !coverageMode) agree = false;
    }
    if (!resolve.transfer.curve.ladder.empty()) {
        counts.push_back({"the transfer ladder", resolve.transfer.colourSamples});
        if (resolve.transfer.colourSamples != found) agree = false;
    }
    if (typeSamples > 0) {
        counts.push_back({"the type", typeSamples});
        if (typeSamples != found) agree = false;
    }
    if (agree) return {};
    return {Listed(counts)};
}

std::string ContradictionsText(const std::vector<std::string>& contradictions) {
    std::string text;
    for (const std::string& contradiction : contradictions) {
        if (!text.empty()) text += "; ";
        text += contradiction;
    }
    return text;
}
