// The centroid measurement: probe and view.
#include "analysis/centroid/centroid_module.h"

#include "analysis/centroid/centroid_probe.h"
#include "analysis/centroid/centroid_view.h"

MeasurementModule CentroidModule() {
    return {
        "/centroid",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureCentroid(device, m->mode, m->samplePositions, &m->centroid);
        },
        DescribeCentroid,
    };
}
