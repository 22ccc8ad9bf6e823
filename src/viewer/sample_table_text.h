// The texts of the "Sample Positions" dialog that are its own: the heading lines and the file name
// Save suggests (the pages' texts are the measurements' views).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "enumeration/adapter_description.h"
#include "enumeration/direct3d_implementation.h"

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
    Direct3DImplementation implementation;  // the d3d9 the program runs on
};

// Device; mode ("D3DMULTISAMPLE_4_SAMPLES, quality 0, D3DFMT_X8R8G8B8; measured fullscreen at
// 1280 x 1024"); distinct samples with the verdict, or with what contradicted it ("2 distinct
// samples, no verdict: positions found 2 samples, ... and the type 4").
std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement,
                                            const MeasuredDevice& device);

// "Measured in steps of 1/32 pixel, in 41 ms": the width of the intervals and the time taken.
std::string MeasuredText(const ModeMeasurement& measurement);

// "sample-positions-hal-x8r8g8b8-4-samples-q0.json": device type, format, multisample type and
// quality, in lower case.
std::string SamplePositionsFileName(const ModeMeasurement& measurement,
                                    const MeasuredDevice& device);
