// The multisampling-off measurement's entry in the list of measurements.
#pragma once

#include "analysis/session/measurement_module.h"

MeasurementModule AntialiasOffModule();
