// What a probe's failure code means for it, and the failure's one-line text.
#include "analysis/session/measurement_failure.h"

#include <d3d9.h>

#include "enumeration/result_codes.h"
#include "enumeration/value_table.h"

namespace {

// A probe makes its own targets, draws, resolves and reads back: these are what stops it.
const ValueText<HRESULT> kProbeReasons[] = {
    {D3DERR_NOTAVAILABLE, "the device cannot make or read the probe's targets in this format and mode"},
    {D3DERR_INVALIDCALL, "the implementation refused one of the probe's calls"},
    {D3DERR_OUTOFVIDEOMEMORY, "not enough video memory for the probe's targets"},
    {E_OUTOFMEMORY, "not enough memory for the probe's targets"},
    {D3DERR_DRIVERINTERNALERROR, "the driver failed inside"},
};

}  // namespace

MeasurementFailure ProbeFailure(const std::string& probe, HRESULT code) {
    MeasurementFailure failure;
    failure.call = "probe " + probe;
    failure.code = code;
    failure.reason = TextOf(kProbeReasons, code, "the implementation gave no reason");
    return failure;
}

MeasurementFailure DeclinedForPositions(const MeasurementFailure& positions) {
    MeasurementFailure failure = positions;
    failure.reason = "not measured: it aims at the sample positions, which failed (" + positions.reason + ")";
    return failure;
}

std::string MeasurementFailureText(const MeasurementFailure& failure) {
    std::string text = failure.call + " failed";
    if (failure.code != S_OK) text += ", " + ResultCodeText(failure.code);
    if (!failure.reason.empty()) text += ": " + failure.reason;
    return text;
}
