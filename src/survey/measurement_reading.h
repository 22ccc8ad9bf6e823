// A mode's measurement read back from the JSON its worker process wrote, into the plain data the
// survey's texts are made from: the inverse of MeasurementToJson, as far as the texts need it.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "analysis/session/measurement_session.h"

// Fills measurement's findings (not its mode, which the caller knows) from a "measurement" object.
// False, with error saying what is missing or of the wrong kind, where it is not one.
bool MeasurementFromJson(const nlohmann::json& object, ModeMeasurement* measurement, std::string* error);
