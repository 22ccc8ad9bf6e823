// The resolve's measurements: one probe, three results, each with its JSON, comparison and view.
#include "analysis/resolve/resolve_module.h"

#include "analysis/resolve/resolve_comparison.h"
#include "analysis/resolve/resolve_json.h"
#include "analysis/resolve/resolve_probe.h"
#include "analysis/resolve/resolve_view.h"

MeasurementModule ResolveTransferModule() {
    return {
        "/resolve/transfer",
        "resolve.transfer",
        [](IDirect3DDevice9* device, ModeMeasurement* m) {
            return MeasureResolve(device, m->mode, m->samplePositions, &m->resolve);
        },
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.resolve.transfer; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->resolve.transfer); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareResolveTransfer(was.resolve.transfer, now.resolve.transfer, differences);
        },
        DescribeResolveTransfer,
    };
}

MeasurementModule ResolveFootprintModule() {
    return {
        "/resolve/footprint",
        "resolve.footprint",
        nullptr,
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.resolve.footprint; },
        [](const nlohmann::json& at, ModeMeasurement* m) {
            at.get_to(m->resolve.footprint);
            // Not written with the footprint: its samples are the transfer's, read just before.
            m->resolve.footprint.colourSamples = m->resolve.transfer.colourSamples;
        },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareFootprint(was.resolve.footprint, now.resolve.footprint, differences);
        },
        DescribeResolveFootprint,
    };
}

MeasurementModule CoverageLevelsModule() {
    return {
        "/resolve/coverage",
        "resolve.coverage",
        nullptr,
        [](const ModeMeasurement& m, nlohmann::json* at) { *at = m.resolve.coverage; },
        [](const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->resolve.coverage); },
        [](const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
            CompareCoverageLevels(was.resolve.coverage, now.resolve.coverage, differences);
        },
        DescribeCoverageLevels,
    };
}
