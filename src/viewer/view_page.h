// The Sample Positions dialog's pages made from the measurements' views: each measurement's facts
// and tables as the page's text, their pictures as the page's picture, one renderer for each.
#pragma once

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"
#include "viewer/measurement_page.h"

// Facts as "Label: value" lines, then each table under its caption, cells separated by tabs (the
// dialog aligns them), lines ended by CR LF.
std::string ViewText(const MeasurementView& view);

// One page per tab the measurements name, in the list's order; a tab holding several measurements
// gives each its title line.
std::vector<MeasurementPage> MeasurementPages(const ModeMeasurement& measurement);
