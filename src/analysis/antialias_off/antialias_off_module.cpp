// The multisampling-off measurement: probe, JSON, comparison and view.
#include "analysis/antialias_off/antialias_off_module.h"

#include "analysis/antialias_off/antialias_off_comparison.h"
#include "analysis/antialias_off/antialias_off_json.h"
#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/antialias_off/antialias_off_view.h"

MeasurementModule AntialiasOffModule() {
    return {
        "/antialiasOff",
        "antialiasOff",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureAntialiasOff(device, m->mode, m->samplePositions, &m->antialiasOff);
        },
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.antialiasOff; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->antialiasOff); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareAntialiasOff(was.antialiasOff, now.antialiasOff, differences);
        },
        DescribeAntialiasOff,
    };
}
