// Sample positions, with the texture's sampling: probe and view.
#include "analysis/positions/positions_module.h"

#include "analysis/positions/positions_view.h"
#include "analysis/positions/sample_probe.h"

MeasurementModule SamplePositionsModule() {
    return {
        "/samplePositions",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureSamplePositions(device, m->mode, &m->samplePositions);
        },
        DescribeSamplePositions,
    };
}
