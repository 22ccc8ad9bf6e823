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

// A measurement that failed in this mode shows and compares as its failure: these stand between
// the modules and everything that shows or compares them.
const MeasurementFailure* FailureOf(const ModeMeasurement& measurement, const MeasurementModule& module);
// Its view; a failed one keeps its title, page and column headings and shows the failure alone.
MeasurementView DescribeMeasurement(const MeasurementModule& module, const ModeMeasurement& measurement);
// Its comparison; a failure is a difference from a measured result, and from another failure too
// (neither was measured, so nothing says it is as before).
void CompareMeasurement(const MeasurementModule& module, const ModeMeasurement& was, const ModeMeasurement& now,
                        DifferenceList* differences);
// Every failure of the mode's measurement in one line, each probe's once with the measurements it
// took with it: "resolve/transfer, resolve/footprint and resolve/coverage: probe resolve/transfer
// failed, ..."; empty where none failed.
std::string FailedMeasurementsText(const ModeMeasurement& measurement);
// The failure's JSON where the result would stand: {"failed": {"call", "code", "reason"}}.
nlohmann::json MeasurementFailureToJson(const MeasurementFailure& failure);
// Whether at holds a failure in place of a result, and that failure.
bool MeasurementFailureFromJson(const nlohmann::json& at, MeasurementFailure* failure);
