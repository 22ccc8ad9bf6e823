// Where the samples lie with D3DRS_MULTISAMPLEANTIALIAS off on a multisampled target. Plain
// data, no Direct3D: the decoder fills it, the pages, the JSON and the survey read it.
#pragma once

#include <string>
#include <vector>

#include "analysis/positions/sample_measurement.h"

enum class AntialiasOffVerdict {
    NotMeasured,
    Centre,     // one evaluation at the centre, written to every sample
    Unchanged,  // the positions are those with multisampling on: the state is ignored
    Other,
};

struct AntialiasOffMeasurement {
    AntialiasOffVerdict verdict = AntialiasOffVerdict::NotMeasured;
    // The position measurement with D3DRS_MULTISAMPLEANTIALIAS FALSE on the multisampled target.
    SampleMeasurement positions;
};

// "one evaluation at the centre, written to every sample", "unchanged (the state is ignored)",
// "other", "not measured: ..." with the reason (one sample per pixel, or on and off alike).
std::string AntialiasOffVerdictText(const AntialiasOffMeasurement& measurement);
// The survey report's column: a short form.
std::string AntialiasOffColumnText(const AntialiasOffMeasurement& measurement);
