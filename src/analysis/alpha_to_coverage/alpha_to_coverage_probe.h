// The alpha-to-coverage measurement: for each driver switch, offered or not, every alpha value
// drawn over its own 4 x 4 block of a multisampled target of the device's mode, and each sample of
// each pixel read back. The device's render target and states are as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probing/probe_target.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/positions/sample_measurement.h"
#include "analysis/resolve/resolve_counting.h"

// positions gives the sample count of a non-maskable mode (its weights summed); a maskable
// mode's samples are its mask bits. counting, from the resolve measured in the same mode, reads
// each sample alone (maskable) and counts the covered ones (the union, and a non-maskable mode);
// where it cannot, the measurement declines with its reason and draws nothing. Fails without
// touching out where the device cannot make the targets it needs or cannot draw them.
HRESULT MeasureAlphaToCoverage(IDirect3DDevice9* device, const ProbeTarget& target,
                               const SampleMeasurement& positions, const ResolveCounting& counting,
                               AlphaToCoverageMeasurement* out);
