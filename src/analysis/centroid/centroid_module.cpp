// The centroid measurement: probe, JSON, comparison and view.
#include "analysis/centroid/centroid_module.h"

#include "analysis/centroid/centroid_comparison.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/centroid/centroid_view.h"

MeasurementModule CentroidModule() {
    using Field = ResultField<CentroidMeasurement, &ModeMeasurement::centroid, CompareCentroid>;
    return {
        "/centroid",
        "centroid",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureCentroid(device, m->mode, m->samplePositions,
                                   CountingThrough(m->resolve, m->mode.Maskable()), &m->centroid);
        },
        Field::Write,
        Field::Read,
        Field::Compare,
        DescribeCentroid,
    };
}
