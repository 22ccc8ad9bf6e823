// Sample positions, with the texture's sampling: probe, JSON, comparison and view.
#include "analysis/positions/positions_module.h"

#include "analysis/positions/positions_comparison.h"
#include "analysis/positions/positions_json.h"
#include "analysis/positions/positions_view.h"
#include "analysis/positions/sample_probe.h"

MeasurementModule SamplePositionsModule() {
    return {
        "/samplePositions",
        "",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureSamplePositions(device, m->mode, &m->samplePositions);
        },
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.samplePositions; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->samplePositions); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            ComparePositions(was.samplePositions, now.samplePositions, differences);
        },
        DescribeSamplePositions,
    };
}
