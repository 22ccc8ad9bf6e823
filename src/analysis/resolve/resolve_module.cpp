// The resolve's measurements: one probe, three results, three views.
#include "analysis/resolve/resolve_module.h"

#include "analysis/resolve/resolve_probe.h"
#include "analysis/resolve/resolve_view.h"

MeasurementModule ResolveTransferModule() {
    return {
        "/resolve/transfer",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureResolve(device, m->mode, m->samplePositions, &m->resolve);
        },
        DescribeResolveTransfer,
    };
}

MeasurementModule ResolveFootprintModule() { return {"/resolve/footprint", nullptr, DescribeResolveFootprint}; }

MeasurementModule CoverageLevelsModule() { return {"/resolve/coverage", nullptr, DescribeCoverageLevels}; }
