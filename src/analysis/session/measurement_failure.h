// A measurement of a mode that could not be made: the call that failed, its result code and why.
// It stands in the mode's measurement in place of that one result; the others stand beside it.
#pragma once

#include <windows.h>

#include <string>

struct MeasurementFailure {
    std::string call;     // "probe resolve/transfer": the probe whose device work failed
    HRESULT code = S_OK;
    std::string reason;   // "the device cannot make or read the probe's targets in this format"
};

// The failure of a probe's device work, with what its code usually means for a probe.
MeasurementFailure ProbeFailure(const std::string& probe, HRESULT code);
// A probe that aims at the samples found, declined because the positions failed: their call and
// code, and a reason that says so.
MeasurementFailure DeclinedForPositions(const MeasurementFailure& positions);

// "probe resolve/transfer failed, D3DERR_NOTAVAILABLE (0x8876086A): the device cannot ...".
std::string MeasurementFailureText(const MeasurementFailure& failure);
