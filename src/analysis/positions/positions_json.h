// Sample positions as JSON, for the dialog's Save and survey.json, and read back from them. The
// other measurements that report positions write their sample lists the same way.
#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/positions/sample_measurement.h"

// {"gridSize", "samples": [...], "distinctSamples", "textureSampling": {"kind": "oncePerPixel" |
// "perSample" | "notMeasured", "text", "positions": [...]}, "verdict" (the headline sentence),
// "verdicts": {"standardPattern", "maskOrderStandard" (null where it does not apply),
// "allAtCentre", "quadsDiffer", "resolveNotAverage", "unionMatchesAllBits" (null without per-bit
// maps), "picturesConsistent"}, "quads": [{"parityX", "parityY", "samples"}]}. Everything the
// struct holds is written; the two texts are derived from it and not read back.
void to_json(nlohmann::json& out, const SampleMeasurement& measurement);
void from_json(const nlohmann::json& in, SampleMeasurement& measurement);
nlohmann::json SamplePositionsToJson(const SampleMeasurement& measurement);

// A list of samples: each with "maskBit" (null where the mask has no effect), "x" and "y" as
// AxisToJson writes them, and "count". Interval ends are rounded to the measuring step of a
// gridSize tile (see IntervalDenominator): read back, they are those rounded ends.
nlohmann::json SamplesToJson(const std::vector<SamplePosition>& samples, int gridSize);
std::vector<SamplePosition> SamplesFromJson(const nlohmann::json& list);

// "notMeasured", "oncePerPixel", "perSample".
nlohmann::json TextureSamplingJsonName(TextureSampling sampling);

// {"exact", "sixteenths" (null unless exact), "low", "high"}.
nlohmann::json AxisToJson(const AxisPosition& axis, int gridSize);
