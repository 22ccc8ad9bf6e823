// survey.json read back into the survey's report: this machine's survey as written, failed modes
// and notes, and the files that are no survey this program can read.
#include "survey/survey_reading.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "survey/survey_document.h"
#include "survey/survey_json.h"

namespace {

using nlohmann::json;

const char kFixture[] = QUILLANT_FIXTURE_FOLDER "/survey-wine8-schema2.json";

std::string FileText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(SurveyReading, ThisMachinesSurveyReadsBackAndIsWrittenAgainByteForByte) {
    const std::string text = FileText(kFixture);
    ASSERT_FALSE(text.empty()) << kFixture;
    SurveyReport report;
    std::string error;
    ASSERT_TRUE(ReadSurveyReport(json::parse(text), &report, &error)) << error;
    // Written again, the file holds what it held and only the keys added since: whether the survey
    // finished, why a picture is missing (none here), the implementation (not named then) and the
    // render target (the back buffer's).
    json written = json::parse(SurveyJsonText(report));
    EXPECT_EQ(written["complete"], true);
    written.erase("complete");
    EXPECT_TRUE(written["implementation"]["path"].is_null());
    written.erase("implementation");
    for (json& mode : written["modes"]) {
        EXPECT_TRUE(mode["pictureError"].is_null());
        mode.erase("pictureError");
        EXPECT_EQ(mode["renderTargetFormat"], mode["backBufferFormat"]);
        mode.erase("renderTargetFormat");
    }
    EXPECT_EQ(text, SurveyJsonText(written));
    ASSERT_EQ(3u, report.modes.size());
    EXPECT_EQ(0x10DEu, report.adapters[0].vendorId);
    EXPECT_EQ(D3DMULTISAMPLE_4_SAMPLES, report.modes[2].measurement.mode.type);
}

TEST(SurveyReading, FailedModesWithAndWithoutACodeAndTheNotesComeBack) {
    SurveyReport report;
    report.adapters.resize(2);
    report.adapters[1].ordinal = 1;
    report.adapters[1].description = "Second";
    report.notes = {"adapter 1: no REF device"};
    report.totalMilliseconds = 1234.5;
    const HRESULT codes[] = {D3DERR_NOTAVAILABLE, static_cast<HRESULT>(0x80070005), S_OK};
    for (HRESULT code : codes) {
        ModeReport mode;
        mode.adapterOrdinal = 1;
        mode.deviceType = D3DDEVTYPE_REF;
        mode.adapterFormat = D3DFMT_X8R8G8B8;
        mode.measurement.mode = {D3DMULTISAMPLE_8_SAMPLES, 2, D3DFMT_A8R8G8B8};
        mode.failureStage = "device";
        mode.failureCode = code;
        mode.failureText = "CreateDevice failed";
        mode.timings.device = 3.4;
        report.modes.push_back(mode);
    }
    SurveyReport read;
    std::string error;
    ASSERT_TRUE(ReadSurveyReport(SurveyToJson(report), &read, &error)) << error;
    ASSERT_EQ(3u, read.modes.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(read.modes[i].measured);
        EXPECT_EQ(codes[i], read.modes[i].failureCode);
        EXPECT_EQ(2u, read.modes[i].measurement.mode.quality);
    }
    EXPECT_EQ(report.notes, read.notes);
    EXPECT_EQ(SurveyJsonText(report), SurveyJsonText(read));
}

TEST(SurveyReading, ADocumentThatCannotBeReadSaysWhereAndLeavesTheReportAlone) {
    const json fixture = json::parse(FileText(kFixture));
    const struct {
        const char* name;
        const char* pointer;
        json value;
        const char* says;
    } cases[] = {
        {"other schema", "/schemaVersion", 3, "is a survey of schema version 3"},
        {"unknown format", "/modes/1/backBufferFormat", "D3DFMT_NOPE", "mode 1 (HAL NOPE D3DMULTISAMPLE_NONMASKABLE q0)"},
        {"a verdict unknown", "/modes/2/measurement/centroid/verdict", "sideways", "unknown name \"sideways\""},
        {"a key missing", "/modes/2/measurement/resolve/footprint", json::object(), "mode 2 (HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0)"},
        {"adapter id", "/adapters/0/vendorId", 4318, "its adapters cannot be read"},
    };
    for (const auto& c : cases) {
        json document = fixture;
        document[json::json_pointer(c.pointer)] = c.value;
        SurveyReport report;
        report.notes = {"untouched"};
        std::string error;
        EXPECT_FALSE(ReadSurveyReport(document, &report, &error)) << c.name;
        EXPECT_NE(std::string::npos, error.find(c.says)) << c.name << ": " << error;
        EXPECT_EQ(std::vector<std::string>{"untouched"}, report.notes) << c.name;
    }
}

}  // namespace
