// The texts of the "Sample Positions" dialog: its heading lines and its table, one row per
// sample, which Copy puts on the clipboard as tab-separated lines.
#pragma once

#include <string>
#include <vector>

#include "analysis/measurement_session.h"

struct SampleTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Device; mode names; distinct samples with the verdict; and, where they apply, the mask order
// and the per-bit cross-check.
std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement,
                                            const char* deviceText);

// "Measured on a 32 x 32 tile in 41 ms": the step of the intervals and the time taken.
std::string MeasuredText(const ModeMeasurement& measurement);

// Sample, mask bit (blank where the mask has no effect), x and y in 1/16 pixel (an interval in
// 1/N where the position is not exact), x and y as fractions of a pixel, and the number of
// samples found there. Where the 2x2 quad's pixels differ, their own rows follow.
SampleTable SampleTableFor(const SampleMeasurement& measurement);

// The header and the rows, cells separated by tabs, lines ended by CR LF.
std::string SampleTableText(const SampleTable& table);
