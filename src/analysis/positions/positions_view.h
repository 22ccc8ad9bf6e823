// What the sample-position measurement shows: the report's Samples, Positions, Verdict and Texture
// cells, its verdicts as facts, and the pixel's diagram.
#pragma once

#include "analysis/session/measurement_session.h"
#include <nlohmann/json.hpp>

#include "analysis/session/measurement_view.h"

// The samples of the pixel, coincident ones counted: "1 sample", "4 samples (2 distinct)".
std::string SampleCountText(const ModeMeasurement& measurement);
// "0:(6, 2) 1:(14, 6) ...": mask bit where the mask picks samples, "x2" for coincident ones.
std::string PositionsText(const ModeMeasurement& measurement);

MeasurementView DescribeSamplePositions(const ModeMeasurement& measurement);

// A measured list of samples as the diagrams draw them, numbered by mask bit where there is one.
std::vector<ViewPoint> ViewPoints(const std::vector<SamplePosition>& samples);
// The standard pattern of count samples as rings; none where the count has no table.
std::vector<ViewPoint> StandardViewPoints(int count);

// A sample axis as a survey file or a difference states it ({"exact", "sixteenths", "low",
// "high"}), for drawing where a sample was; false where the value is no axis.
bool ViewAxisFromJson(const nlohmann::json& axis, ViewAxis* out);
