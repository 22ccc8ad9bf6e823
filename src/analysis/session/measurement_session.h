// One measurement session: every probe of a multisample mode run on one device, the target described
// once, with one plain result. The Sample Positions dialog and the survey both measure through it,
// so a probe added here shows in both.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <map>
#include <string>

#include "analysis/probing/multisample_mode.h"
#include "analysis/session/measurement_failure.h"
#include "analysis/resolve/resolve_measurement.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/positions/sample_measurement.h"

struct ModeMeasurement {
    MultisampleMode mode;             // as the device's swap chain 0 has it, and the format drawn in
    SampleMeasurement samplePositions;
    ResolveMeasurement resolve;                      // what the resolve makes of the samples
    AlphaToCoverageMeasurement alphaToCoverage;      // what each sample receives
    CentroidMeasurement centroid;
    AntialiasOffMeasurement antialiasOff;
    // The measurements that could not be made, by their key ("/resolve/transfer"): each stands in
    // place of its result, whose fields keep their defaults; the others are as measured.
    std::map<std::string, MeasurementFailure> failures;
    double milliseconds = 0.0;        // every probe, target described to data decoded
};

// Measures the mode of the device's swap chain 0 off-screen, in render targets of the format
// measurement->mode.renderTargetFormat names (the back buffer's where it names none); the device's
// render target, states and transforms are as before when it returns. A probe that fails records
// its failure under its key and the others go on; where the positions fail, the other probes, which
// aim at the samples found, decline with that failure. Only a target that cannot be described or a
// device that is lost, removed or hung ends the session with its code, and measurement is left as
// it was.
// observer, where given, is told each probe's key ("samplePositions", "resolve/transfer", ...) just before
// it runs, so that a process that dies inside a probe can be said to have died there.
using ProbeObserver = void (*)(void* context, const char* probe);
HRESULT MeasureMode(IDirect3DDevice9* device, ModeMeasurement* measurement, ProbeObserver observer = nullptr,
                    void* context = nullptr);
// The same with the mode given rather than read from the swap chain: the probes draw in it.
HRESULT MeasureModeAs(IDirect3DDevice9* device, const MultisampleMode& mode, ModeMeasurement* measurement,
                      ProbeObserver observer = nullptr, void* context = nullptr);
