// What the positions measured with D3DRS_MULTISAMPLEANTIALIAS off say, next to those measured
// with it on. Plain data in, plain data out.
#pragma once

#include "analysis/sample_coverage_measurement.h"

// Fills measurement's verdict from its positions and the usual ones (multisampling on).
void DecodeAntialiasOff(const SampleMeasurement& usual, AntialiasOffMeasurement* measurement);
