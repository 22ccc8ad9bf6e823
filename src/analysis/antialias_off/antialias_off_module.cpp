// The multisampling-off measurement: probe, JSON, comparison and view.
#include "analysis/antialias_off/antialias_off_module.h"

#include "analysis/antialias_off/antialias_off_comparison.h"
#include "analysis/antialias_off/antialias_off_json.h"
#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/antialias_off/antialias_off_view.h"

MeasurementModule AntialiasOffModule() {
    using Field = ResultField<AntialiasOffMeasurement, &ModeMeasurement::antialiasOff, CompareAntialiasOff>;
    return {
        "/antialiasOff",
        "antialiasOff",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAntialiasOff(device, m->mode, m->samplePositions, &m->antialiasOff);
        },
        Field::Write,
        Field::Read,
        Field::Compare,
        DescribeAntialiasOff,
    };
}
