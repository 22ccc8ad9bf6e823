// Two position measurements compared, for a survey against its baseline.
#pragma once

#include <string>
#include <vector>

#include "analysis/positions/sample_measurement.h"
#include "analysis/session/measurement_difference.h"

// A position agrees when the two measured intervals overlap: either run says only that the sample
// lies somewhere in its interval (ends as written, rounded to the measuring step). Counts, mask
// bits, verdicts and the texture sampling's kind are values; the texture's positions are positions.
// The headline sentence is made of those and not compared. Locations and pointers as in the JSON:
// "sample 2 (mask bit 2) y" at "/samples/2/y".
void ComparePositions(const SampleMeasurement& was, const SampleMeasurement& now, DifferenceList* differences);

// One list of samples under parent ("samples" or "positions" is its key, "sample 2 (mask bit 2)" or
// "position 2" an entry's name, after the mask bit of the later result), for every measurement
// that reports positions.
void CompareSampleLists(const std::vector<SamplePosition>& was, int wasGridSize, const std::vector<SamplePosition>& now,
                        int nowGridSize, const std::string& parent, const std::string& key,
                        const nlohmann::json::json_pointer& path, DifferenceList* differences);
