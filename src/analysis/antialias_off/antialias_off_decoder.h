// What the positions measured with D3DRS_MULTISAMPLEANTIALIAS off say, next to those measured
// with it on. Plain data in, plain data out.
#pragma once

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"

// Fills measurement's verdict from its positions and the usual ones (multisampling on).
void DecodeAntialiasOff(const SampleMeasurement& usual, AntialiasOffMeasurement* measurement);
