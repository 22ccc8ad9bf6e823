// The centroid measurement: probe, JSON, comparison and view.
#include "analysis/centroid/centroid_module.h"

#include "analysis/centroid/centroid_comparison.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/centroid/centroid_view.h"

MeasurementModule CentroidModule() {
    return {
        "/centroid",
        "centroid",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureCentroid(device, m->mode, m->samplePositions, &m->centroid);
        },
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.centroid; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->centroid); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareCentroid(was.centroid, now.centroid, differences);
        },
        DescribeCentroid,
    };
}
