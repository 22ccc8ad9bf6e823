// The alpha to coverage measurement: probe and view.
#include "analysis/alpha_to_coverage/alpha_to_coverage_module.h"

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_view.h"

MeasurementModule AlphaToCoverageModule() {
    return {
        "/alphaToCoverage",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAlphaToCoverage(device, m->mode, m->samplePositions, &m->alphaToCoverage);
        },
        DescribeAlphaToCoverage,
    };
}
