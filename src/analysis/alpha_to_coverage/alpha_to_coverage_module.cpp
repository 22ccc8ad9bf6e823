// The alpha to coverage measurement: probe, JSON, comparison and view.
#include "analysis/alpha_to_coverage/alpha_to_coverage_module.h"

#include "analysis/alpha_to_coverage/alpha_to_coverage_comparison.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_view.h"

MeasurementModule AlphaToCoverageModule() {
    return {
        "/alphaToCoverage",
        "alphaToCoverage",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAlphaToCoverage(device, m->mode, m->samplePositions, &m->alphaToCoverage);
        },
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.alphaToCoverage; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->alphaToCoverage); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareAlphaToCoverage(was.alphaToCoverage, now.alphaToCoverage, differences);
        },
        DescribeAlphaToCoverage,
    };
}
