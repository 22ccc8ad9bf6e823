// The resolve's three measurements' entries in the list: the transfer (with sRGB writing), the
// filter footprint and the coverage levels, measured together from one resolved picture.
#pragma once

#include "analysis/session/measurement_module.h"

MeasurementModule ResolveTransferModule();
MeasurementModule ResolveFootprintModule();
MeasurementModule CoverageLevelsModule();
