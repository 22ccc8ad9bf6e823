// The alpha to coverage measurement: probe, JSON, comparison and view.
#include "analysis/alpha_to_coverage/alpha_to_coverage_module.h"

#include "analysis/alpha_to_coverage/alpha_to_coverage_comparison.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_view.h"

MeasurementModule AlphaToCoverageModule() {
    using Field = ResultField<AlphaToCoverageMeasurement, &ModeMeasurement::alphaToCoverage, CompareAlphaToCoverage>;
    return {
        "/alphaToCoverage",
        "alphaToCoverage",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAlphaToCoverage(device, m->mode, m->samplePositions,
                                          CountingThrough(m->resolve, m->mode.Maskable()), &m->alphaToCoverage);
        },
        Field::Write,
        Field::Read,
        Field::Compare,
        DescribeAlphaToCoverage,
    };
}
