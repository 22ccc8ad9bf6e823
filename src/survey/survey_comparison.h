// Two surveys compared mode by mode: what a driver or a Direct3D 9 implementation changed between
// a baseline and a later run. Works on the reports as read back from survey.json, so that any two
// files compare and a fresh survey compares as its file would.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "survey/survey_report.h"

// Modes are matched by what identifies them: the adapter's description, the device type, the
// adapter's and the back buffer's formats, the render-target format measured (the back buffer's in
// a survey that names none), the multisample type and the quality. Where each survey holds one
// adapter (two Direct3D 9 implementations on one machine name their adapter differently), the
// adapter is left out of that match unless matchAdapters asks for it, and the adapters' own
// difference is said by AdaptersNote rather than counted. A mode in one survey only is a difference, and so
// is a changed status (measured, or failed at a stage with a code). Within a matched measured mode
// each measurement is compared by its own comparison, with its own tolerances (see
// ComparePositions, CompareResolve, CompareAlphaToCoverage, CompareCentroid,
// CompareAntialiasOff); timings and texts are not compared. Adapters are compared by ordinal and
// description.
struct SurveyDifference {
    std::string mode;      // the mode's label; empty for an adapter or the document
    std::string location;  // "sample 2 (mask bit 2) x", "verdicts.standardPattern", "adapter 0"
    std::string text;      // "was [0.3438, 0.375) now [0.4688, 0.5)", "only in the baseline"
    std::string path;      // JSON pointer into the mode's entry, "/measurement/samplePositions/samples/2/x"
    nlohmann::json was;    // the baseline's value, null where it has none
    nlohmann::json now;
};

std::vector<SurveyDifference> CompareSurveys(const SurveyReport& baseline, const SurveyReport& current,
                                             bool matchAdapters = false);

// Whether CompareSurveys pairs the two surveys' modes without their adapters: each holds one.
bool MatchesModesAcrossAdapters(const SurveyReport& baseline, const SurveyReport& current, bool matchAdapters);

// "The adapters differ: the baseline's is "A", this survey's "B"; modes are matched by ...", where
// the modes were paired across two different adapters; else empty.
std::string AdaptersNote(const SurveyReport& baseline, const SurveyReport& current, bool matchAdapters);

// What identifies a mode apart from its adapter: device type, formats, multisample type and
// quality, one line each; equal for the same mode on two implementations.
std::string ModeIdentity(const ModeReport& mode);

// "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: sample 2 (mask bit 2) x was [...) now [...)".
std::string DifferenceLine(const SurveyDifference& difference);

// The differences as a reader is told them: within a mode, differences that change the same way
// at places alike but for their indices (a threshold grid's cells) are one, at the first's place
// with the indices they do not share as '*' ("alphaToCoverage[0].thresholds[*][*][0]"), its text
// "was 1 now 128 (16 places)"; its path and values are the first's. survey.json keeps each one.
std::vector<SurveyDifference> DifferenceRuns(const std::vector<SurveyDifference>& differences);

nlohmann::json DifferenceToJson(const SurveyDifference& difference);
