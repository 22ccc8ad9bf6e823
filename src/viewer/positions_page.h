// The picture of the "Sample Positions" dialog's Positions tab: the enlarged pixel with its legend.
#pragma once

#include <windows.h>

#include <functional>

#include "analysis/session/measurement_session.h"

// The painter keeps its own copy of the positions.
std::function<void(HDC, const RECT&)> PositionsPicture(const ModeMeasurement& measurement);
