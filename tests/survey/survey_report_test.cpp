// The survey's report in its three forms: the progress line, survey.json (the same apart from
// "timing" for the same findings) and survey.md, for measured and failed modes and one without its picture.
#include "survey/survey_html.h"
#include "survey/survey_json.h"
#include "survey/survey_markdown.h"
#include "analysis/positions/positions_view.h"
#include "survey/survey_reading.h"
#include "survey/survey_report.h"
#include "survey/survey_comparison.h"
#include "survey/survey_reading.h"
#include "analysis/session/measurement_module.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/measurement_builders.h"

namespace {

using test_support::ExactAxis;
using test_support::ExactSample;

using nlohmann::json;

ModeReport Mode(int type, unsigned quality) {
    ModeReport mode;
    mode.deviceType = D3DDEVTYPE_HAL;
    mode.adapterFormat = D3DFMT_X8R8G8B8;
    mode.measurement.mode = {static_cast<D3DMULTISAMPLE_TYPE>(type), quality, D3DFMT_X8R8G8B8};
    return mode;
}

ModeReport FourSamples(double milliseconds) {
    ModeReport mode = Mode(4, 0);
    mode.measured = true;
    mode.measurement.milliseconds = milliseconds;
    mode.measurement.samplePositions = test_support::StandardFourSamplePositions();
    mode.picture = PictureFileName(mode);
    mode.timings = {milliseconds, milliseconds + 1, milliseconds + 2, milliseconds + 3};
    return mode;
}

ModeReport DeviceFailure() {
    ModeReport mode = Mode(8, 0);
    mode.failureStage = "device";
    mode.failureCode = D3DERR_NOTAVAILABLE;
    mode.failureText = "Not enough video memory.";
    mode.timings.total = 12.4;
    return mode;
}

SurveyReport Report(double milliseconds) {
    SurveyReport report;
    AdapterDescription adapter;
    adapter.description = "Card | Model";
    adapter.driver = "driver.dll";
    adapter.driverVersion = "1.2.3.4";
    adapter.vendorId = 0x10DE;
    adapter.desktopFormat = D3DFMT_X8R8G8B8;
    report.adapters.push_back(adapter);
    report.modes.push_back(FourSamples(milliseconds));
    report.modes.push_back(DeviceFailure());
    report.notes.push_back("adapter 1: no HAL device");
    report.totalMilliseconds = milliseconds * 10;
    return report;
}

// The document with every "timing" object taken out, as a diff between two runs sees it.
json WithoutTimings(json document) {
    if (document.is_object()) {
        document.erase("timing");
        for (auto& item : document.items()) item.value() = WithoutTimings(item.value());
    } else if (document.is_array()) {
        for (auto& element : document) element = WithoutTimings(element);
    }
    return document;
}

TEST(SurveyProgress, AMeasuredModeReadsAsCountVerdictAndTextureSampling) {
    ModeReport mode = FourSamples(0);
    mode.timings.total = 37.6;
    EXPECT_EQ(ProgressLine(3, 7, mode),
              "[3/7] HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: 4 samples, standard 4-sample pattern, "
              "texture once per pixel (38 ms)");
}

TEST(SurveyProgress, AFailedModeSaysWhereItFailedWithTheCodeAndTheMessage) {
    EXPECT_EQ(ProgressLine(7, 7, DeviceFailure()),
              "[7/7] HAL X8R8G8B8 D3DMULTISAMPLE_8_SAMPLES q0: failed: device D3DERR_NOTAVAILABLE (0x8876086A): "
              "Not enough video memory. (12 ms)");
}

TEST(SurveyProgress, NonMaskableSamplesAreCountedWithTheirWeights) {
    ModeMeasurement measured;
    measured.mode.type = D3DMULTISAMPLE_NONMASKABLE;
    SampleMeasurement& m = measured.samplePositions;
    m.samples = {ExactSample(-1, 4, 4, 3), ExactSample(-1, 12, 12, 1)};
    m.distinctSamples = 2;
    EXPECT_EQ(SampleCountText(measured), "4 samples (2 distinct)");
    m.samples = {ExactSample(-1, 8, 8)};
    m.distinctSamples = 1;
    EXPECT_EQ(SampleCountText(measured), "1 sample");
}

TEST(SurveyPictures, EveryModeOfAMachineGetsItsOwnFileName) {
    std::set<std::string> names;
    for (unsigned adapter = 0; adapter < 2; ++adapter) {
        for (D3DDEVTYPE device : {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF}) {
            for (int type = 0; type <= 16; ++type) {
                for (unsigned quality = 0; quality < 12; ++quality) {
                    ModeReport mode = Mode(type, quality);
                    mode.adapterOrdinal = adapter;
                    mode.deviceType = device;
                    names.insert(PictureFileName(mode));
                }
            }
        }
    }
    EXPECT_EQ(names.size(), 2u * 3u * 17u * 12u);
    EXPECT_EQ(PictureFileName(Mode(1, 2)), "adapter0-hal-x8r8g8b8-nonmaskable-q2.png");
}

TEST(SurveyJson, OnlyTheTimingsDifferBetweenRunsWithTheSameFindings) {
    const json first = json::parse(SurveyJsonText(Report(10.0)));
    const json second = json::parse(SurveyJsonText(Report(55.5)));
    EXPECT_NE(first, second);
    EXPECT_EQ(WithoutTimings(first), WithoutTimings(second));
    // The measurement's own time went to the mode's timing, not into the measurement.
    EXPECT_FALSE(first["modes"][0]["measurement"].contains("milliseconds"));
    EXPECT_TRUE(first["modes"][0]["timing"].contains("measurementMilliseconds"));
    EXPECT_EQ(first["timing"]["totalMilliseconds"], 100.0);
}

// Wine's builtin in place of the file asked for: named in each form, warned of, read back.
TEST(SurveyReport, EveryFormNamesTheImplementationAndWarnsWhereItIsNotTheFileAskedFor) {
    SurveyReport report = Report(10.0);
    Direct3DImplementation& builtin = report.implementation;
    builtin.requested = builtin.path = "Z:\\dxvk\\d3d9.dll";
    builtin.loaded = builtin.wineBuiltin = true;
    builtin.productName = "Wine";
    builtin.fileDescription = "Wine Direct3D";
    builtin.fileVersion = "5.3.1.904";
    builtin.warnings = {"asked for 'Z:\\dxvk\\d3d9.dll', but Wine's builtin d3d9 ran <here>"};
    const json document = SurveyToJson(report);
    const json block = {{"requested", builtin.path}, {"path", builtin.path}, {"wineBuiltin", true},
                        {"productName", "Wine"}, {"fileDescription", "Wine Direct3D"}, {"fileVersion", "5.3.1.904"},
                        {"size", nullptr}, {"sha256", nullptr}, {"warnings", builtin.warnings}};
    EXPECT_EQ(document["implementation"], block);
    SurveyReport read;
    std::string error;
    ASSERT_TRUE(ReadSurveyReport(document, &read, &error)) << error;
    EXPECT_EQ(SurveyToJson(read)["implementation"], block);

    const std::string line = "Direct3D 9 implementation: Z:\\dxvk\\d3d9.dll (Wine builtin): Wine, Wine Direct3D, "
                             "version 5.3.1.904, size and SHA-256 not known.";
    EXPECT_NE(SurveyMarkdown(report).find("\n" + line + "\n\n**Warning:** " + builtin.warnings[0] + ".\n"),
              std::string::npos)
        << SurveyMarkdown(report);
    EXPECT_NE(SurveyHtml(report).find("<p>" + line + "</p>\n<p class=\"failed\">Warning: asked for "
                                      "'Z:\\dxvk\\d3d9.dll', but Wine's builtin d3d9 ran &lt;here&gt;.</p>"),
              std::string::npos);
}

TEST(SurveyJson, AMeasuredModeCarriesItsIdentityPositionsAndPicture) {
    const json mode = SurveyToJson(Report(10.0))["modes"][0];
    EXPECT_EQ(mode["deviceType"], "D3DDEVTYPE_HAL");
    EXPECT_EQ(mode["backBufferFormat"], "D3DFMT_X8R8G8B8");
    EXPECT_EQ(mode["adapterOrdinal"], 0);
    EXPECT_EQ(mode["multisampleType"], "D3DMULTISAMPLE_4_SAMPLES");
    EXPECT_EQ(mode["multisampleTypeValue"], 4);
    EXPECT_EQ(mode["multisampleQuality"], 0);
    EXPECT_EQ(mode["status"], "measured");
    EXPECT_EQ(mode["picture"], "adapter0-hal-x8r8g8b8-4-samples-q0.png");
    EXPECT_TRUE(mode["failure"].is_null());
    const json& samples = mode["measurement"]["samplePositions"]["samples"];
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[1]["maskBit"], 1);
    EXPECT_EQ(samples[1]["x"]["sixteenths"], 14);
    EXPECT_EQ(samples[1]["y"]["sixteenths"], 6);
}

TEST(SurveyJson, AFailedModeHasNoMeasurementAndSaysWhy) {
    const json document = SurveyToJson(Report(10.0));
    const json& mode = document["modes"][1];
    EXPECT_EQ(mode["status"], "failed");
    EXPECT_TRUE(mode["measurement"].is_null());
    EXPECT_TRUE(mode["picture"].is_null());
    EXPECT_EQ(mode["failure"]["stage"], "device");
    EXPECT_EQ(mode["failure"]["code"], "D3DERR_NOTAVAILABLE (0x8876086A)");
    EXPECT_EQ(document["summary"], (json{{"modes", 2}, {"measured", 1}, {"failed", 1}}));
    EXPECT_EQ(document["notes"], (json{"adapter 1: no HAL device"}));
    // A failed mode is still named in full.
    EXPECT_EQ(mode["multisampleType"], "D3DMULTISAMPLE_8_SAMPLES");
    EXPECT_EQ(document["schemaVersion"], 2);
}

TEST(SurveyReport, AModeWhoseMeasurementsContradictEachOtherFailsButKeepsThem) {
    SurveyReport report = Report(10.0);
    ModeReport& mode = report.modes[0];
    mode.measured = false;
    mode.failureStage = "consistency";
    mode.failureText = "positions found 2 samples, the coverage levels 4 and the type 4";
    const json entry = SurveyToJson(report)["modes"][0];
    EXPECT_EQ(entry["status"], "failed");
    EXPECT_EQ(entry["failure"]["message"], mode.failureText);
    ASSERT_TRUE(entry["measurement"].is_object());
    EXPECT_EQ(entry["measurement"]["samplePositions"]["samples"].size(), 4u);
    const std::string page = SurveyHtml(report);
    EXPECT_NE(page.find("failed: consistency"), std::string::npos);
    EXPECT_NE(page.find("<h5>Sample positions</h5>"), std::string::npos);
}

TEST(SurveyReport, AModeWithOneFailedMeasurementFailsKeepsTheOthersAndReadsBackToADifference) {
    SurveyReport report = Report(10.0);
    ModeReport& mode = report.modes[0];
    mode.measured = false;
    mode.failureStage = "measurement";
    mode.failureCode = D3DERR_NOTAVAILABLE;
    const MeasurementFailure failure = ProbeFailure("resolve/transfer", D3DERR_NOTAVAILABLE);
    for (const char* key : {"/resolve/transfer", "/resolve/footprint", "/resolve/coverage"}) {
        mode.measurement.failures[key] = failure;
    }
    mode.failureText = FailedMeasurementsText(mode.measurement);
    const json document = SurveyToJson(report);
    const json& entry = document["modes"][0];
    EXPECT_EQ(entry["status"], "failed");
    EXPECT_EQ(entry["measurement"]["samplePositions"]["samples"].size(), 4u);
    EXPECT_EQ(entry["measurement"]["resolve"]["footprint"]["failed"]["call"], "probe resolve/transfer");
    const std::string markdown = SurveyMarkdown(report);
    EXPECT_NE(markdown.find("| failed: the device cannot make or read the probe's targets in this format and mode |"),
              std::string::npos);
    EXPECT_NE(markdown.find("(6, 2)"), std::string::npos);

    SurveyReport read;
    std::string error;
    ASSERT_TRUE(ReadSurveyReport(document, &read, &error)) << error;
    ASSERT_TRUE(HoldsMeasurement(read.modes[0]));
    EXPECT_EQ(3u, read.modes[0].measurement.failures.size());
    std::vector<std::string> lines;
    for (const SurveyDifference& d : CompareSurveys(Report(10.0), read)) lines.push_back(d.location);
    EXPECT_EQ((std::vector<std::string>{"status", "resolve.coverage.failed", "resolve.footprint.failed",
                                        "resolve.transfer.failed"}),
              lines);
}

TEST(SurveyReport, AModeWithoutItsPictureIsStillMeasuredAndEachFormSaysWhy) {
    SurveyReport report = Report(10.0);
    report.modes[0].picture.clear();
    report.modes[0].pictureError = "no PNG for the back-buffer format A16B16G16R16F";
    const json mode = SurveyToJson(report)["modes"][0];
    EXPECT_EQ(mode["status"], "measured");
    EXPECT_TRUE(mode["picture"].is_null());
    EXPECT_EQ(mode["pictureError"], "no PNG for the back-buffer format A16B16G16R16F");
    EXPECT_TRUE(mode["measurement"].is_object());
    EXPECT_TRUE(SurveyToJson(Report(10.0))["modes"][0]["pictureError"].is_null());
    EXPECT_NE(SurveyMarkdown(report).find("| not written: no PNG for the back-buffer format A16B16G16R16F |\n"),
              std::string::npos)
        << SurveyMarkdown(report);
    EXPECT_EQ(ProgressLine(1, 2, report.modes[0]),
              "[1/2] HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: 4 samples, standard 4-sample pattern, texture once "
              "per pixel; picture not written: no PNG for the back-buffer format A16B16G16R16F (13 ms)");
    EXPECT_NE(SurveyHtml(report).find("picture not written: no PNG for the back-buffer format"),
              std::string::npos);
}

TEST(SurveyJson, AnAdapterTextThatIsNotUtf8StillGivesADocument) {
    SurveyReport report = Report(1.0);
    report.adapters[0].description = "Card \xff\xfe";
    const json document = json::parse(SurveyJsonText(report));
    EXPECT_EQ(document["adapters"][0]["vendorId"], "0x10DE");
    EXPECT_EQ(document["adapters"][0]["description"].get<std::string>().compare(0, 5, "Card "), 0);
}

TEST(SurveyJson, IdentifierTextsAreConvertedFromTheAnsiCodePage) {
    // U+00E9 in code page 1252 (Wine's and most western systems' ANSI page) and in UTF-8.
    if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
    const char description[4] = {'C', '\xe9', 'x', 'y'};  // no terminator within the field
    EXPECT_EQ(AnsiToUtf8(description, 3), "C\xc3\xa9x");
}

TEST(SurveyMarkdown, OneRowPerModeWithPipesInTextsEscaped) {
    const std::string text = SurveyMarkdown(Report(10.0));
    EXPECT_NE(text.find("## Adapter 0: Card \\| Model\n"), std::string::npos) << text;
    EXPECT_NE(text.find("| HAL | X8R8G8B8 | D3DMULTISAMPLE_4_SAMPLES | 0 | 4 samples | "
                        "0:(6, 2) 1:(14, 6) 2:(2, 10) 3:(10, 14) | standard 4-sample pattern | "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("| HAL | X8R8G8B8 | D3DMULTISAMPLE_8_SAMPLES | 0 | - | - | failed: device "
                        "D3DERR_NOTAVAILABLE (0x8876086A): Not enough video memory. | - | - |"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("- adapter 1: no HAL device"), std::string::npos);
    // Diffable: the same findings with other timings give the same file.
    EXPECT_EQ(text, SurveyMarkdown(Report(99.0)));
}

// The console's table shows each measurement's few words in aligned columns; the long cells
// (the positions) are survey.md's.
TEST(SurveyConsole, SummaryHasEveryMeasurementsBriefColumnsAlignedWithTheFailureUnderVerdict) {
    SurveyReport report = Report(10.0);
    report.modes[1].fault = ModeFault::ProcessEnded;
    report.modes[1].failureStage = "probe resolve/transfer";
    const std::string table = SummaryTable(report);
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = table.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(table.substr(start, end - start));
    }
    ASSERT_GE(lines.size(), 4u) << table;
    std::vector<ViewColumn> columns = {{"Mode", "", "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0"}};
    for (const MeasurementModule& module : MeasurementModules()) {
        for (const ViewColumn& column : module.describe(report.modes[0].measurement).columns) {
            if (!column.brief.empty()) columns.push_back(column);
        }
    }
    ASSERT_GT(columns.size(), 8u);
    size_t at = 0;
    for (const ViewColumn& column : columns) {
        const size_t found = lines[0].find(column.heading + " ", at);
        ASSERT_NE(found, std::string::npos) << column.heading << "\n" << table;
        at = found + column.heading.size();
        // Each measured cell starts where its heading does.
        EXPECT_EQ(lines[1].find(column.brief, found), found) << column.heading << "\n" << table;
    }
    EXPECT_EQ(lines[1].find("0:(6, 2) 1:(14, 6)"), std::string::npos) << table;
    EXPECT_EQ(lines[2].find("crashed in probe resolve/transfer"), lines[0].find("Verdict")) << table;
    EXPECT_NE(lines[0].find("Time", at), std::string::npos);
    EXPECT_EQ(lines[1].size(), lines[0].size()) << "times aligned at the right\n" << table;
    EXPECT_EQ(lines[2].find("HAL X8R8G8B8 D3DMULTISAMPLE_8_SAMPLES q0  -  "), 0u) << table;
    EXPECT_LT(lines[1].size(), 260u) << "a terminal's width, not survey.md's\n" << table;
    EXPECT_EQ(lines[3], "2 modes: 1 measured, 1 failed, in 0.10 s");
    EXPECT_NE(table.find("note: adapter 1: no HAL device\n"), std::string::npos);
}

// Each switch of a mode on its line, with the claim beside what it did; switches that found the
// same (centroid in both shader models, where the read-back cannot tell) say it once.
TEST(SurveyConsole, SwitchesThatFoundTheSameAreSaidOnceAfterTheirNames) {
    SurveyReport report = Report(10.0);
    for (const char* name : {"ps_3_0", "ps_2_0"}) {
        CentroidShaderModel model;
        model.shaderModel = name;
        model.caps = {{{"versions", "ps 3.0, vs 3.0", true}}, false, 0, "the read-back is too coarse", false};
        report.modes[0].measurement.centroid.shaderModels.push_back(model);
    }
    const std::string text = SwitchesText(report);
    EXPECT_NE(text.find("centroid ps_3_0, centroid ps_2_0 claimed, not measured: the read-back is too coarse"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("the read-back is too coarse"), text.rfind("the read-back is too coarse")) << text;
    EXPECT_EQ(text.find("HAL X8R8G8B8 D3DMULTISAMPLE_8_SAMPLES"), std::string::npos) << "a failed mode tried none";
    // Only neighbours join: a list keeps its order, unrelated switches are not gathered together.
    std::vector<std::string> labels;
    for (const ViewFact& fact : JoinedByValue({{"a", "works", ""}, {"b", "works", ""}, {"c", "no effect", ""}, {"d", "works", ""}})) {
        labels.push_back(fact.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"a, b", "c", "d"}));
}

TEST(SurveyMarkdown, AnAxisKnownOnlyToAnIntervalShowsTheInterval) {
    SamplePosition sample = ExactSample(-1, 8, 8);
    sample.x.exact = false;
    sample.x.low = -1.0 / 32.0;
    sample.x.high = 1.0 / 32.0;
    EXPECT_EQ(PointText(sample, 32), "([-1/32, 1/32), 8)");
}

}  // namespace
