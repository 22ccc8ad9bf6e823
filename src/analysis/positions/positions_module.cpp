// Sample positions, with the texture's sampling: probe, JSON, comparison and view.
#include "analysis/positions/positions_module.h"

#include "analysis/positions/positions_comparison.h"
#include "analysis/positions/positions_json.h"
#include "analysis/positions/positions_view.h"
#include "analysis/positions/sample_probe.h"

MeasurementModule SamplePositionsModule() {
    using Field = ResultField<SampleMeasurement, &ModeMeasurement::samplePositions, ComparePositions>;
    return {
        "/samplePositions",
        "",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureSamplePositions(device, m->mode, &m->samplePositions);
        },
        Field::Write,
        Field::Read,
        Field::Compare,
        DescribeSamplePositions,
    };
}
