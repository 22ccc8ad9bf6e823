// The multisampling-off measurement: probe and view.
#include "analysis/antialias_off/antialias_off_module.h"

#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/antialias_off/antialias_off_view.h"

MeasurementModule AntialiasOffModule() {
    return {
        "/antialiasOff",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAntialiasOff(device, m->mode, m->samplePositions, &m->antialiasOff);
        },
        DescribeAntialiasOff,
    };
}
