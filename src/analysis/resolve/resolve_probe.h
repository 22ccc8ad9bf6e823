// The off-screen measurement of what the resolve does: ladders of k of S samples lit (white, mid
// grey, both again with sRGB writing on), one sample of one pixel lit per sample, and a polygon
// edge swept across pixels at three angles, all in one picture of the device's own back-buffer
// format and multisample mode, resolved and read back once. The device's render target, states
// and transforms are as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probing/probe_target.h"
#include "analysis/resolve/resolve_measurement.h"
#include "analysis/positions/sample_measurement.h"

// positions: the same mode's sample positions, used where the mask cannot pick samples (the
// non-maskable type): its rungs and lit samples are then small squares on the measured
// intervals. Fails without touching out where the device cannot make the targets it needs or
// the format's channels cannot be read.
HRESULT MeasureResolve(IDirect3DDevice9* device, const ProbeTarget& target,
                       const SampleMeasurement& positions, ResolveMeasurement* out);
