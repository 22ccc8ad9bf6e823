// A measurement as JSON: the mode, every sample with its mask bit and position (1/16 pixel where
// exact, and always the measured interval), the texture sampling, the verdicts and the time.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/sample_measurement.h"

// Keys of every object come out in alphabetical order (nlohmann::json keeps them sorted), so the
// same measurement always gives the same text. Positions are pixels from the pixel's top-left
// corner; "sixteenths" is null where the interval holds more than one 1/16 step.
nlohmann::json MeasurementToJson(const SampleMeasurement& measurement);

// A list of samples as the measurement writes them, for the other measurements that report
// positions.
nlohmann::json SamplesToJson(const std::vector<SamplePosition>& samples);
