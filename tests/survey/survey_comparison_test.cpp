// Two surveys compared as their survey.json files read back: each measurement within its own
// tolerance, modes paired by identity; and the files such a comparison reads, with the exit codes
// of --compare.
#include "survey/survey_comparison.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/measurement_builders.h"
#include "survey/baseline_report.h"
#include "support/scratch_folder.h"
#include "survey/earlier_pictures.h"
#include "survey/survey_document.h"
#include "survey/survey_json.h"
#include "survey/survey_reading.h"
#include "survey/survey_run.h"

namespace {

using nlohmann::json;
using test_support::ExactSample;
using test_support::IntervalAxis;
using test_support::SampleAt;

ModeReport Mode(int type) {
    ModeReport mode;
    mode.deviceType = D3DDEVTYPE_HAL;
    mode.adapterFormat = D3DFMT_X8R8G8B8;
    mode.measured = true;
    mode.measurement.mode.type = static_cast<D3DMULTISAMPLE_TYPE>(type);
    mode.measurement.mode.format = D3DFMT_X8R8G8B8;
    SampleMeasurement& positions = mode.measurement.samplePositions;
    positions.gridSize = 64;
    positions.standardPattern = true;
    if (type == 4) {
        positions.samples = test_support::StandardFourSamples();
    } else {
        positions.samples = {ExactSample(-1, 8, 8)};
    }
    mode.picture = PictureFileName(mode);
    return mode;
}

SurveyReport Survey(double milliseconds) {
    SurveyReport report;
    report.adapters.push_back(AdapterDescription());
    report.adapters[0].description = "Card";
    report.modes = {Mode(0), Mode(4)};
    for (ModeReport& mode : report.modes) mode.timings.total = milliseconds;
    return report;
}

// As --compare sees a report: written to survey.json and read back.
SurveyReport AsWritten(const SurveyReport& report) {
    SurveyReport read;
    std::string error;
    EXPECT_TRUE(ReadSurveyReport(SurveyToJson(report), &read, &error)) << error;
    return read;
}

std::vector<SurveyDifference> Differences(const SurveyReport& baseline, const SurveyReport& now) {
    return CompareSurveys(AsWritten(baseline), AsWritten(now));
}

std::vector<std::string> LinesOf(const std::vector<SurveyDifference>& differences) {
    std::vector<std::string> lines;
    for (const SurveyDifference& d : differences) lines.push_back(DifferenceLine(d));
    return lines;
}

std::vector<std::string> Lines(const SurveyReport& baseline, const SurveyReport& now) {
    return LinesOf(Differences(baseline, now));
}

TEST(SurveyComparison, EachKindOfChangeIsOneLineNamingTheModeAndWhat) {
    const std::string four = "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: ";
    struct Case {
        const char* name;
        std::function<void(SurveyReport*)> change;
        std::vector<std::string> expected;
    } cases[] = {
        {"timings only", [](SurveyReport* r) { r->modes[1].measurement.milliseconds = 99; }, {}},
        // 6/16 is [0.34375, 0.40625): an interval reaching into it agrees, one beside it does not.
        {"within the interval", [](SurveyReport* r) { r->modes[1].measurement.samplePositions.samples[0].x = IntervalAxis(0.3, 0.35); }, {}},
        {"moved sample", [](SurveyReport* r) { r->modes[1].measurement.samplePositions.samples[2] = ExactSample(2, 2, 12); },
         {four + "sample 2 (mask bit 2) y was 10/16 [0.5938, 0.6562) now 12/16 [0.7188, 0.7812)"}},
        {"beside the interval", [](SurveyReport* r) { r->modes[1].measurement.samplePositions.samples[0].x = IntervalAxis(0.3, 0.34375); },
         {four + "sample 0 (mask bit 0) x was 6/16 [0.3438, 0.4062) now [0.3, 0.3438)"}},
        // The headline sentence is made of the verdicts: only the verdict that changed is named.
        {"changed verdict", [](SurveyReport* r) { r->modes[1].measurement.samplePositions.standardPattern = false; },
         {four + "verdicts.standardPattern was true now false"}},
        {"a sample fewer", [](SurveyReport* r) { r->modes[1].measurement.samplePositions.samples.pop_back(); },
         {four + "samples was 4 entries now 3"}},
        {"failed otherwise", [](SurveyReport* r) { r->modes[0].measured = false; r->modes[0].failureStage = "device"; },
         {"HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0: status was measured now failed: device"}},
        {"mode failed", [](SurveyReport* r) { r->modes[1].measured = false; r->modes[1].failureStage = "device"; },
         {four + "status was measured now failed: device"}},
        {"mode removed", [](SurveyReport* r) { r->modes.pop_back(); }, {four + "mode only in the baseline, not in this survey"}},
        // One adapter each: another implementation's name for it is no difference (said on top).
        {"different adapter", [](SurveyReport* r) { r->adapters[0].description = "Other card"; }, {}},
        {"different adapter, a sample moved", [](SurveyReport* r) {
             r->adapters[0].description = "Other card";
             r->modes[1].measurement.samplePositions.samples[2] = ExactSample(2, 2, 12);
         }, {four + "sample 2 (mask bit 2) y was 10/16 [0.5938, 0.6562) now 12/16 [0.7188, 0.7812)"}},
    };
    for (const Case& c : cases) {
        SurveyReport now = Survey(2);
        c.change(&now);
        EXPECT_EQ(Lines(Survey(1), now), c.expected) << c.name;
    }
    SurveyReport fewer = Survey(1);
    fewer.modes.pop_back();
    EXPECT_EQ(Lines(fewer, Survey(1)), std::vector<std::string>{four + "mode only in this survey, not in the baseline"});
}

TEST(SurveyComparison, ModesArePairedAcrossAdaptersOnlyWhereEachSurveyHoldsOneUnlessAdaptersAreToMatch) {
    const std::string none = "HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0: ", four = "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: ";
    const std::vector<std::string> strict = {"adapter 0 was \"Card\" now \"Other card\"",
                                             none + "mode only in this survey, not in the baseline",
                                             four + "mode only in this survey, not in the baseline",
                                             none + "mode only in the baseline, not in this survey",
                                             four + "mode only in the baseline, not in this survey"};
    const std::string note = "The adapters differ: the baseline's is \"Card\", this survey's \"Other card\"; modes are "
                             "matched by device type, formats, multisample type and quality (--match-adapters matches "
                             "them by adapter too).";
    SurveyReport other = Survey(1);
    other.adapters[0].description = "Other card";
    SurveyReport two = other;
    two.adapters.push_back(two.adapters[0]);
    two.adapters[1].ordinal = 1;
    const struct {
        const char* name;
        SurveyReport now;
        bool matchAdapters;
        std::vector<std::string> lines;
        std::string note;
    } cases[] = {
        {"one adapter each", other, false, {}, note},
        {"adapters to match", other, true, strict, ""},
        {"two adapters in this survey", two, false,
         {strict[0], "adapter 1 only in this survey: \"Other card\"", strict[1], strict[2], strict[3], strict[4]}, ""},
        {"the same adapter", Survey(2), false, {}, ""},
    };
    for (const auto& c : cases) {
        const SurveyReport baseline = AsWritten(Survey(1)), now = AsWritten(c.now);
        EXPECT_EQ(LinesOf(CompareSurveys(baseline, now, c.matchAdapters)), c.lines) << c.name;
        const std::string said = AdaptersNote(baseline, now, c.matchAdapters);
        EXPECT_EQ(said, c.note) << c.name;
        // The note comes first wherever the comparison is told.
        const BaselineComparison comparison = {"a.json", {}, said};
        EXPECT_EQ(BaselineConsoleText(comparison).find(c.note), 0u) << c.name;
        EXPECT_NE(BaselineMarkdown(comparison).find(c.note + (c.note.empty() ? "" : "\n\nNone")), std::string::npos);
    }
}

TEST(SurveyComparison, AModeTheImplementationDidNotLetBeMeasuredNeverMatches) {
    const std::string four = "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: ";
    const auto fault = [](ModeFault kind, const char* step) {
        return [kind, step](SurveyReport* r) {
            r->modes[1].measured = false;
            r->modes[1].fault = kind;
            r->modes[1].failureStage = step;
        };
    };
    struct Case {
        std::function<void(SurveyReport*)> before, after;
        std::string expected;
    } cases[] = {
        {[](SurveyReport*) {}, fault(ModeFault::ProcessEnded, "Reset"),
         four + "status not measured in one of the surveys: was measured now crashed in Reset"},
        {fault(ModeFault::NoAnswer, "probe resolve"), [](SurveyReport*) {},
         four + "status not measured in one of the surveys: was timedOut in probe resolve now measured"},
        // The same crash in both is no match: each file hides whatever the mode would have shown.
        {fault(ModeFault::ProcessEnded, "Reset"), fault(ModeFault::ProcessEnded, "Reset"),
         four + "status not measured in either survey: was crashed in Reset now crashed in Reset"},
    };
    for (const Case& c : cases) {
        SurveyReport before = Survey(1), after = Survey(1);
        c.before(&before);
        c.after(&after);
        EXPECT_EQ(Lines(before, after), std::vector<std::string>{c.expected});
    }
}

// A grid that changed the same way in every cell is one line a reader can take in, not sixteen,
// even where each cell's count comes between; what changed differently, or in another mode, keeps
// its own line.
TEST(SurveyComparison, DifferencesAlikeButForTheirIndicesAreToldAsOneRun) {
    const auto at = [](const std::string& mode, const std::string& location, const std::string& text) {
        return SurveyDifference{mode, location, text, "", nullptr, nullptr};
    };
    std::vector<SurveyDifference> differences;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const std::string cell = "alphaToCoverage[0].thresholds[" + std::to_string(row) + "][" + std::to_string(column) + "]";
            differences.push_back(at("A", cell, "was 4 entries now 1"));
            differences.push_back(at("A", cell + "[0]", "was 1 now 128"));
        }
    }
    differences.push_back(at("A", "alphaToCoverage[0].thresholds[1][3][0]", "was 1 now 64"));
    differences.push_back(at("A", "alphaToCoverage[2].verdict", "was \"notApplied\" now \"thresholds\""));
    differences.push_back(at("B", "alphaToCoverage[0].thresholds[0][0][0]", "was 1 now 64"));
    differences.push_back(at("B", "resolve.ladder[2].value", "was 128 now 127"));
    differences.push_back(at("B", "resolve.ladder[3].value", "was 128 now 127"));

    std::vector<std::string> lines;
    for (const SurveyDifference& run : DifferenceRuns(differences)) lines.push_back(DifferenceLine(run));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "A: alphaToCoverage[0].thresholds[*][*] was 4 entries now 1 (6 places)",
                         "A: alphaToCoverage[0].thresholds[*][*][0] was 1 now 128 (6 places)",
                         "A: alphaToCoverage[0].thresholds[1][3][0] was 1 now 64",
                         "A: alphaToCoverage[2].verdict was \"notApplied\" now \"thresholds\"",
                         "B: alphaToCoverage[0].thresholds[0][0][0] was 1 now 64",
                         "B: resolve.ladder[*].value was 128 now 127 (2 places)",
                     }));
    const BaselineComparison comparison = {"a.json", differences, ""};
    EXPECT_NE(BaselineMarkdown(comparison).find("- **A**: alphaToCoverage[0].thresholds[*][*][0] was 1 now 128 (6 places)\n"),
              std::string::npos);
    EXPECT_NE(BaselineConsoleText(comparison).find("17 differences from the baseline a.json:\n"), std::string::npos);
}

TEST(SurveyComparison, ADifferenceCarriesThePathAndBothValuesForThePage) {
    SurveyReport now = Survey(1);
    now.modes[1].measurement.samplePositions.samples[2] = ExactSample(2, 2, 12);
    const std::vector<SurveyDifference> differences = Differences(Survey(1), now);
    ASSERT_EQ(differences.size(), 1u);
    const json written = DifferenceToJson(differences[0]);
    EXPECT_EQ(written["path"], "/measurement/samplePositions/samples/2/y");
    EXPECT_EQ(written["was"]["sixteenths"], 10);
    EXPECT_EQ(written["now"]["sixteenths"], 12);
}

TEST(SurveyComparison, ThisMachinesSurveyAgreesWithItselfWithinAnAlphaStepAndWhateverItsSentencesSay) {
    std::ifstream file(QUILLANT_FIXTURE_FOLDER "/survey-wine8-schema2.json", std::ios::binary);
    const json fixture = json::parse(file);
    const std::string threshold = "/modes/2/measurement/alphaToCoverage/1/thresholds/0/0/2";  // 128
    const struct {
        const char* name;
        std::function<void(json*)> change;
        std::vector<std::string> expected;
    } cases[] = {
        {"itself", [](json*) {}, {}},
        {"a threshold moved by 1", [&](json* d) { (*d)[json::json_pointer(threshold)] = 129; }, {}},
        {"by 2", [&](json* d) { (*d)[json::json_pointer(threshold)] = 130; },
         {"HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: alphaToCoverage[1].thresholds[0][0][2] was 128 now 130"}},
        {"sentences reworded", [](json* d) {
             for (json& mode : (*d)["modes"]) {
                 json& m = mode["measurement"];
                 m["samplePositions"]["verdict"] = "reworded";
                 m["samplePositions"]["textureSampling"]["text"] = "reworded";
                 for (json& map : m["alphaToCoverage"]) map["text"] = "reworded";
                 m["antialiasOff"]["text"] = "reworded";
                 if (m["centroid"]["verdict"] != "unavailable") m["centroid"]["text"] = "reworded";
             }
         }, {}},
        // A survey from before other formats were measured drew in the back buffer's.
        {"the render target named", [](json* d) {
             for (json& mode : (*d)["modes"]) mode["renderTargetFormat"] = mode["backBufferFormat"];
         }, {}},
    };
    SurveyReport baseline;
    std::string error;
    ASSERT_TRUE(ReadSurveyReport(fixture, &baseline, &error)) << error;
    for (const auto& c : cases) {
        json changed = fixture;
        c.change(&changed);
        SurveyReport now;
        ASSERT_TRUE(ReadSurveyReport(changed, &now, &error)) << error;
        const std::vector<SurveyDifference> differences = CompareSurveys(baseline, now);
        EXPECT_EQ(c.expected, LinesOf(differences)) << c.name;
        if (!differences.empty()) {
            EXPECT_EQ(threshold.substr(std::string("/modes/2").size()), differences[0].path);
        }
    }
    // Another render target is another mode: the one is gone, the other new.
    json other = fixture;
    other["modes"][2]["renderTargetFormat"] = "D3DFMT_A16B16G16R16F";
    SurveyReport now;
    ASSERT_TRUE(ReadSurveyReport(other, &now, &error)) << error;
    std::string lines;
    for (const SurveyDifference& d : CompareSurveys(baseline, now)) lines += DifferenceLine(d) + "\n";
    EXPECT_NE(lines.find("HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in A16B16G16R16F"), std::string::npos) << lines;
    EXPECT_NE(lines.find("HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0:"), std::string::npos) << lines;
}

TEST(SurveyFiles, FilesThatAreNoSurveyOfThisSchemaAreRefusedWithExit2AndEqualOnesExit0) {
    test_support::ScratchFolder folder;
    const auto write = [&](const char* name, const std::string& text) {
        const std::string path = folder.Path(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fputs(text.c_str(), file);
        std::fclose(file);
        return path;
    };
    json old = SurveyToJson(Survey(1));
    old.erase("schemaVersion");
    SurveyReport moved = Survey(1);
    moved.modes[1].measurement.samplePositions.samples[0] = ExactSample(0, 7, 2);
    const std::string a = write("a.json", SurveyJsonText(Survey(1))), b = write("b.json", SurveyJsonText(Survey(2)));
    const std::string changed = write("c.json", SurveyJsonText(moved));
    const struct {
        std::string baseline, says;
        int code;
    } cases[] = {
        {a, "", SurveyExitAllMeasured},
        {changed, "1 difference from the baseline", SurveyExitDiffersFromBaseline},
        {folder.Path("missing.json"), "cannot read", SurveyExitBadCommandLine},
        {write("text.json", "not json"), "is not a survey: it is not JSON", SurveyExitBadCommandLine},
        {write("other.json", "{\"modes\": []}"), "is not a survey (no \"program\"", SurveyExitBadCommandLine},
        {write("old.json", old.dump()), "is a survey of an earlier one without \"schemaVersion\"", SurveyExitBadCommandLine},
    };
    for (const auto& c : cases) {
        std::FILE* out = std::tmpfile();
        EXPECT_EQ(RunSurveyComparison({c.baseline, b}, true, out, out), c.code) << c.baseline;
        std::rewind(out);
        char text[512] = {};
        static_cast<void>(std::fread(text, 1, sizeof(text) - 1, out));
        EXPECT_NE(std::string(text).find(c.says), std::string::npos) << text;
        if (c.code == SurveyExitBadCommandLine) {
            // A survey given such a baseline stops before it starts Direct3D or writes anything.
            SurveyOptions options;
            options.outputFolder = folder.Path("out");
            options.baselineFile = c.baseline;
            EXPECT_EQ(RunSurvey(options, out, out), SurveyExitBadCommandLine);
        }
        if (c.says.empty()) {
            EXPECT_STREQ(text, "") << "quiet and the same: nothing to say";
        }
        std::fclose(out);
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.json", "b.json", "c.json", "old.json", "other.json", "text.json"}));
}

TEST(SurveyFiles, OnlyPicturesNamedAsTheSurveyNamesThemAreEverRemoved) {
    for (const char* name : {"adapter0-hal-x8r8g8b8-4-samples-q0.png", "adapter12-ref-a8r8g8b8-none-q3.png"}) {
        EXPECT_TRUE(IsSurveyPictureName(name)) << name;
    }
    for (const char* name : {"survey.json", "adapter-hal.png", "adapter0-HAL.png", "adapter0-x.png.txt", "..\\adapter0-x.png",
                             "adapter0-a/b.png", "adapter0-.png"}) {
        EXPECT_FALSE(IsSurveyPictureName(name)) << name;
    }
    const json earlier = {{"program", "quillant-survey"},
                          {"modes", {{{"picture", "adapter0-hal-x8r8g8b8-none-q0.png"}}, {{"picture", "C:\\x.png"}}, {{"picture", nullptr}}}}};
    EXPECT_EQ(EarlierSurveyPictures(earlier), std::vector<std::string>{"adapter0-hal-x8r8g8b8-none-q0.png"});
}

}  // namespace
