// The centroid measurement: triangles whose edges cover chosen subsets of one pixel's measured
// samples, drawn with a shader whose _centroid input carries the screen position (ps_3_0, and
// ps_2_0, each where the device creates it), and the same without the modifier; the position each covered sample received is read back. The
// device's render target, shaders and states are as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probing/probe_target.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/positions/sample_measurement.h"
#include "analysis/resolve/resolve_counting.h"

// positions places the triangles (by mask bit); counting, from the resolve measured in the same
// mode, reads each sample's values back. A mode without a mask, a device that creates neither
// model's shaders (each model says why), or a resolve through which single samples' values cannot
// be read gives the verdict Unavailable with the reason, and S_OK. Fails without touching out where
// the device cannot make the targets it needs or cannot draw them.
HRESULT MeasureCentroid(IDirect3DDevice9* device, const ProbeTarget& target,
                        const SampleMeasurement& positions, const ResolveCounting& counting,
                        CentroidMeasurement* out);
