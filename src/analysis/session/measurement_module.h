// A measurement as the rest of the program sees it: where its result stands in a mode's JSON, its
// probe, and what it shows. MeasureMode, the F3 pages, survey.md, survey.html and the comparison
// loop over MeasurementModules(); a new measurement is its folder and one line in that list.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/session/measurement_difference.h"
#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"

struct MeasurementModule {
    // A JSON pointer under a mode's "measurement": "/samplePositions", "/resolve/transfer".
    const char* key;
    // How its differences are named: "resolve.transfer"; empty for the positions, which are what
    // most differences are about and read without a heading.
    const char* location;
    // Its probe, filling its part of the measurement; null where the module before it measures
    // this one in the same picture (the resolve's three parts share one resolve).
    HRESULT (*measure)(IDirect3DDevice9* device, ModeMeasurement* measurement);
    // Its result as JSON at its key, and read back from there (throwing as nlohmann does where the
    // JSON is not one); its comparison, with the tolerance the measurement states.
    void (*write)(const ModeMeasurement& measurement, nlohmann::json* at);
    void (*read)(const nlohmann::json& at, ModeMeasurement* measurement);
    void (*compare)(const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences);
    MeasurementView (*describe)(const ModeMeasurement& measurement);
};

// The JSON and the comparison of a result that is one field of the measurement, for the entries of
// those measurements (the resolve's three parts are fields of a field and spell theirs out).
template <typename Result, Result ModeMeasurement::*field,
          void (*compare)(const Result& was, const Result& now, DifferenceList* differences)>
struct ResultField {
    static void Write(const ModeMeasurement& m, nlohmann::json* at) { *at = m.*field; }
    static void Read(const nlohmann::json& at, ModeMeasurement* m) { at.get_to(m->*field); }
    static void Compare(const ModeMeasurement& was, const ModeMeasurement& now, DifferenceList* differences) {
        compare(was.*field, now.*field, differences);
    }
};

// In the order they run: the positions first, since the other probes aim at the samples found.
const std::vector<MeasurementModule>& MeasurementModules();
