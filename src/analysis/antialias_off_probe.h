// The position measurement run again with D3DRS_MULTISAMPLEANTIALIAS FALSE on the multisampled
// target, and its verdict next to the usual positions. The device is as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probe_target.h"
#include "analysis/sample_coverage_measurement.h"
#include "analysis/sample_measurement.h"

// positions: the usual measurement of the same target. Without multisampling there is nothing
// to switch off: the verdict stays NotMeasured.
HRESULT MeasureAntialiasOff(IDirect3DDevice9* device, const ProbeTarget& target,
                            const SampleMeasurement& positions, AntialiasOffMeasurement* out);
