// The position measurement run again with D3DRS_MULTISAMPLEANTIALIAS FALSE on the multisampled
// target, and its verdict next to the usual positions. The device is as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probing/probe_target.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/positions/sample_measurement.h"

// positions: the usual measurement of the same target. Without multisampling there is nothing
// to switch off: the verdict stays NotMeasured. Fails without touching out, as the position probe.
HRESULT MeasureAntialiasOff(IDirect3DDevice9* device, const ProbeTarget& target,
                            const SampleMeasurement& positions, AntialiasOffMeasurement* out);
