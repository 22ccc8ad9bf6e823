// The texts of the "Sample Positions" dialog: its heading lines, the notes and the table of its
// Positions page (one row per sample, tab-separated for Copy), and the file name Save suggests.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "enumeration/adapter_description.h"

struct SampleTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Where a measurement was made: the device as its description names it, and its swap chain as
// the user was looking at it.
struct MeasuredDevice {
    std::string description;  // "HAL (pure hw vp): <adapter>" (ANSI)
    AdapterDescription adapter;
    D3DFORMAT adapterFormat = D3DFMT_UNKNOWN;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    bool fullscreen = false;
    UINT width = 0;
    UINT height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
};

// Device; mode ("D3DMULTISAMPLE_4_SAMPLES, quality 0, D3DFMT_X8R8G8B8; measured fullscreen at
// 1280 x 1024"); distinct samples with the verdict, or with what contradicted it ("2 distinct
// samples, no verdict: positions found 2 samples, ... and the type 4").
std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement,
                                            const MeasuredDevice& device);

// The line above the table: the mask order and the per-bit cross-check where they apply, or why
// the mask-bit column is empty (one sample; a non-maskable type). Empty when there is nothing.
std::string SampleNotes(const ModeMeasurement& measurement);

// "Measured in steps of 1/32 pixel, in 41 ms": the width of the intervals and the time taken.
std::string MeasuredText(const ModeMeasurement& measurement);

// Sample, mask bit ("none: ..." where the mask picks out no sample), x and y in 1/16 pixel (an
// interval in 1/N where the position is not exact), x and y as fractions of a pixel, and the
// number of samples found there. Where the 2x2 quad's pixels differ, their own rows follow.
SampleTable SampleTableFor(const ModeMeasurement& measurement);

// The header and the rows, cells separated by tabs, lines ended by CR LF.
std::string SampleTableText(const SampleTable& table);

// "sample-positions-hal-x8r8g8b8-4-samples-q0.json": device type, format, multisample type and
// quality, in lower case.
std::string SamplePositionsFileName(const ModeMeasurement& measurement,
                                    const MeasuredDevice& device);
