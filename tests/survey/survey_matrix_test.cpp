// Surveys side by side: two implementations paired by mode, a cell marked only where the
// measurement's own comparison finds a difference and on the row that shows it, a mode one survey
// lacks as a column of empty cells, and --matrix's files and exit codes.
#include "survey/survey_matrix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "survey/matrix_column_groups.h"
#include "survey/matrix_markdown.h"
#include "survey/matrix_run.h"
#include "survey/matrix_texts.h"
#include "survey/survey_json.h"
#include "survey/survey_reading.h"
#include "survey/survey_run.h"

namespace {

using nlohmann::json;

json Fixture() {
    std::ifstream file(QUILLANT_FIXTURE_FOLDER "/survey-wine8-schema2.json", std::ios::binary);
    return json::parse(file);
}

// The same machine's survey as another implementation would name its adapter.
json OtherImplementation() {
    json document = Fixture();
    document["adapters"][0]["description"] = "llvmpipe (LLVM 15.0.6, 256 bits)";
    document["adapters"][0]["driver"] = "d3d9.dll";
    return document;
}

SurveyReport Read(const json& document) {
    SurveyReport report;
    std::string error;
    EXPECT_TRUE(ReadSurveyReport(document, &report, &error)) << error;
    return report;
}

// "Alpha to coverage / ATOC @5" for each marked cell.
std::vector<std::string> Marked(const SurveyMatrix& matrix) {
    std::vector<std::string> marked;
    for (const MatrixRow& row : matrix.rows) {
        for (size_t c = 0; c < row.cells.size(); ++c) {
            if (row.cells[c].differs) marked.push_back(row.measurement + " / " + row.label + " @" + std::to_string(c));
        }
    }
    return marked;
}

json& Measurement(json& document, int mode) { return document["modes"][mode]["measurement"]; }

TEST(SurveyMatrix, TwoImplementationsPairedByModeAreMarkedOnlyWhereAMeasurementsToleranceIsExceeded) {
    // Columns: per mode (none, non-maskable, 4 samples) the fixture's implementation, then the other.
    const struct {
        const char* name;
        std::function<void(json*)> change;
        std::vector<std::string> marked;
    } cases[] = {
        {"the same results", [](json*) {}, {}},
        {"a threshold one alpha step off", [](json* d) { Measurement(*d, 2)["alphaToCoverage"][1]["thresholds"][0][0][2] = 129; }, {}},
        {"sentences reworded", [](json* d) { Measurement(*d, 1)["samplePositions"]["verdict"] = "reworded"; }, {}},
        {"a threshold two steps off", [](json* d) { Measurement(*d, 2)["alphaToCoverage"][1]["thresholds"][0][0][2] = 130; },
         {"Alpha to coverage / ATOC @5"}},
        {"a sample moved", [](json* d) {
             json& y = Measurement(*d, 2)["samplePositions"]["samples"][2]["y"];
             y = {{"exact", true}, {"sixteenths", 12}, {"low", 0.73}, {"high", 0.77}};
         }, {"Sample positions / pixel diagram @5"}},
        {"sRGB written as drawn", [](json* d) { Measurement(*d, 1)["resolve"]["transfer"]["srgbWrite"]["writeEncoded"] = false; },
         {"Resolve transfer / sRGB write @3"}},
        {"a ladder's rung", [](json* d) { Measurement(*d, 1)["resolve"]["transfer"]["ladder"][2]["value"] = 100; },
         {"Resolve transfer / White @3"}},
        {"centroid at another place", [](json* d) { Measurement(*d, 2)["centroid"]["verdict"] = "coveredSample"; },
         {"Centroid / Centroid @5"}},
    };
    const SurveyReport wine = Read(Fixture());
    for (const auto& c : cases) {
        json other = OtherImplementation();
        c.change(&other);
        const SurveyMatrix matrix = BuildSurveyMatrix({{"wine.json", wine}, {"other.json", Read(other)}});
        ASSERT_EQ(matrix.implementations.size(), 2u);
        ASSERT_EQ(matrix.columns.size(), 6u) << c.name;
        EXPECT_EQ(Marked(matrix), c.marked) << c.name;
        // A marked cell says which implementation it differs from; the summary names who differs.
        for (const MatrixRow& row : matrix.rows) {
            for (const MatrixCell& cell : row.cells) {
                if (cell.differs) {
                    EXPECT_EQ(DiffersText(matrix, cell), "differs from NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135)");
                }
            }
        }
        size_t differing = 0;
        for (const MatrixAgreement& agreement : matrix.summary) {
            EXPECT_EQ(agreement.shared, (std::vector<size_t>{3, 3})) << agreement.measurement;
            differing += agreement.differing[1].size();
            EXPECT_TRUE(agreement.differing[0].empty());
        }
        EXPECT_EQ(differing, c.marked.size()) << c.name;
    }
}

TEST(SurveyMatrix, TheOddOneOutIsMarkedWhicheverColumnItStandsIn) {
    json moved = OtherImplementation();
    Measurement(moved, 2)["alphaToCoverage"][0]["thresholds"][1][1][0] = 40;
    const SurveyReport same = Read(OtherImplementation()), odd = Read(moved), wine = Read(Fixture());
    const SurveyMatrix first = BuildSurveyMatrix({{"odd.json", odd}, {"wine.json", wine}, {"same.json", same}});
    EXPECT_EQ(Marked(first), std::vector<std::string>{"Alpha to coverage / ATOC with alpha test @6"});
    EXPECT_EQ(AgreementSentence(first, first.summary[4]),
              "Alpha to coverage: llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135) differs from the result NVIDIA "
              "GeForce GTX 470 (nvd3dum.dll 8.21.13.9135) and llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135) "
              "share in 1 of 3 modes.");
    const SurveyMatrix last = BuildSurveyMatrix({{"wine.json", wine}, {"same.json", same}, {"odd.json", odd}});
    EXPECT_EQ(Marked(last), std::vector<std::string>{"Alpha to coverage / ATOC with alpha test @8"});
}

TEST(SurveyMatrix, AModeOnlyOneSurveyHasIsAColumnWhoseOtherImplementationHasEmptyCells) {
    json other = OtherImplementation();
    other["modes"].erase(1);
    Measurement(other, 1)["alphaToCoverage"][1]["thresholds"][0][0][2] = 140;
    const SurveyMatrix matrix = BuildSurveyMatrix({{"wine.json", Read(Fixture())}, {"other.json", Read(other)}});
    ASSERT_EQ(matrix.columns.size(), 6u);
    const MatrixColumn& missing = matrix.columns[3];
    EXPECT_FALSE(missing.present);
    EXPECT_STREQ(missing.mode.measurement.mode.TypeName(), "D3DMULTISAMPLE_NONMASKABLE");
    EXPECT_EQ(ColumnStatusText(missing), "not in this survey");
    EXPECT_EQ(ColumnHeadings(matrix, missing)[0], "llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135)");
    for (const MatrixRow& row : matrix.rows) {
        EXPECT_FALSE(row.cells[3].present) << row.label;
        if (row.label == "pixel diagram" || row.label == "Verdict") {
            EXPECT_TRUE(row.cells[2].present) << row.label;
        }
    }
    EXPECT_EQ(Marked(matrix), std::vector<std::string>{"Alpha to coverage / ATOC @5"});
    EXPECT_EQ(AgreementText(matrix, matrix.summary[0], 1), "agrees in 2 modes");
    EXPECT_EQ(AgreementText(matrix, matrix.summary[4], 1), "differs in 1 of 2 modes: HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0");
    // Alone, a survey is compared with nothing.
    const SurveyMatrix alone = BuildSurveyMatrix({{"wine.json", Read(Fixture())}});
    EXPECT_EQ(alone.columns.size(), 3u);
    EXPECT_EQ(AgreementText(alone, alone.summary[0], 0), "no mode shared with another implementation");
}

// The fixture's 4-sample mode measured again in A8R8G8B8 and R5G6B5, each change made to the
// copies named.
json InThreeFormats(json document, const std::function<void(json*, const std::string&)>& change) {
    const json four = document["modes"][2];
    for (const char* format : {"D3DFMT_A8R8G8B8", "D3DFMT_R5G6B5"}) {
        json copy = four;
        copy["renderTargetFormat"] = format;
        document["modes"].push_back(copy);
    }
    for (size_t m = 2; m < 5; ++m) {
        change(&document["modes"][m]["measurement"], document["modes"][m].value("renderTargetFormat", "D3DFMT_X8R8G8B8"));
    }
    return document;
}

TEST(SurveyMatrix, TheSummarySaysAModesFormatsOnceAndWhatEachImplementationWasComparedWith) {
    const SurveyReport wine = Read(InThreeFormats(Fixture(), [](json*, const std::string&) {}));
    const SurveyReport other = Read(InThreeFormats(OtherImplementation(), [](json* m, const std::string& format) {
        (*m)["alphaToCoverage"][1]["thresholds"][0][0][2] = 140;
        if (format == "D3DFMT_R5G6B5") (*m)["samplePositions"]["samples"][2]["y"] = {{"exact", true}, {"sixteenths", 12}, {"low", 0.73}, {"high", 0.77}};
        if (format != "D3DFMT_R5G6B5") (*m)["resolve"]["transfer"]["ladder"][2]["value"] = 100;
        if (format == "D3DFMT_X8R8G8B8") (*m)["centroid"]["verdict"] = "coveredSample";
    }));
    const SurveyMatrix matrix = BuildSurveyMatrix({{"wine.json", wine}, {"other.json", other}});
    ASSERT_EQ(matrix.columns.size(), 10u);
    const std::string four = "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0";
    const struct {
        size_t measurement;
        std::string text;
    } cases[] = {
        {0, "differs in 1 of 5 modes: " + four + " in R5G6B5"},
        {1, "differs in 2 of 5 modes: " + four + " in 2 of 3 render-target formats compared, all but R5G6B5"},
        {2, "agrees in 5 modes"},
        {4, "differs in 3 of 5 modes: " + four + " in all 3 render-target formats compared"},
        {5, "differs in 1 of 5 modes: " + four + " in X8R8G8B8 (the back buffer's)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AgreementText(matrix, matrix.summary[c.measurement], 1), c.text) << matrix.summary[c.measurement].measurement;
        EXPECT_EQ(AgreementText(matrix, matrix.summary[c.measurement], 0), "agrees in 5 modes");
    }
    // Two implementations tie: the first column is the reference, and the sentence says so.
    EXPECT_EQ(AgreementSentence(matrix, matrix.summary[4]),
              "Alpha to coverage: llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135) differs from NVIDIA GeForce "
              "GTX 470 (nvd3dum.dll 8.21.13.9135) (the first column: no result is shared by more) in 3 of 5 modes.");
    // matrix.md: a table per mode; a row every column shows alike said once, a marked one cell by cell.
    const std::string md = MatrixMarkdown(matrix);
    EXPECT_NE(md.find("\n## " + four + "\n"), std::string::npos);
    EXPECT_NE(md.find("| Resolve footprint | Filter | in every column measured: box: every pixel from its own samples |"), std::string::npos) << md;
    const std::string fourPart = md.substr(md.find("\n## " + four + "\n"));
    EXPECT_NE(fourPart.find("| Sample positions | Verdict | in every column measured: standard 4-sample pattern |"), std::string::npos);
    EXPECT_NE(fourPart.find("| Sample positions | pixel diagram | 0:(6, 2)"), std::string::npos) << fourPart;
    EXPECT_EQ(md.find("e+0"), std::string::npos);
}

TEST(SurveyMatrix, AnImplementationsFormatsAreOneColumnOnlyWhereEveryRowAndMarkIsAlike) {
    const auto moved = [](json* m) {
        (*m)["samplePositions"]["samples"][2]["y"] = {{"exact", true}, {"sixteenths", 12}, {"low", 0.73}, {"high", 0.77}};
    };
    // Each format's centroid not measured, for a reason that names that format.
    const auto unread = [](json* m, const std::string& format) {
        (*m)["centroid"] = {{"verdict", "unavailable"}, {"cases", json::array()}, {"precision", 0.0},
                            {"text", "not measured: the format " + format.substr(7) + " has no green and no blue"}};
    };
    // The 4-sample mode's columns: 4, 6, 8 the fixture's X8R8G8B8, A8R8G8B8, R5G6B5; 5, 7, 9 the
    // other implementation's, changed as each case says.
    const struct {
        const char* name;
        std::function<void(json*, const std::string&)> change;
        std::vector<std::vector<size_t>> groups;
        std::vector<std::string> marked;
    } cases[] = {
        {"the same results", [](json*, const std::string&) {}, {{4, 6, 8}, {5, 7, 9}}, {}},
        {"reasons that name their own format", unread, {{4, 6, 8}, {5, 7, 9}}, {"Centroid / Centroid @5",
                                                                               "Centroid / Centroid @7", "Centroid / Centroid @9"}},
        {"one format's sample moved", [&](json* m, const std::string& format) { if (format == "D3DFMT_R5G6B5") moved(m); },
         {{4, 6, 8}, {5, 7}, {9}}, {"Sample positions / pixel diagram @9"}},
        {"every format's sample moved", [&](json* m, const std::string&) { moved(m); }, {{4, 6, 8}, {5, 7, 9}},
         {"Sample positions / pixel diagram @5", "Sample positions / pixel diagram @7", "Sample positions / pixel diagram @9"}},
        // Within the comparison's tolerance, but said in other numbers.
        {"a threshold a step off in one format", [](json* m, const std::string& format) {
             if (format == "D3DFMT_A8R8G8B8") (*m)["alphaToCoverage"][1]["thresholds"][0][0][2] = 129;
         }, {{4, 6, 8}, {5, 9}, {7}}, {}},
    };
    const SurveyReport wine = Read(InThreeFormats(Fixture(), [](json*, const std::string&) {}));
    for (const auto& c : cases) {
        const SurveyMatrix matrix =
            BuildSurveyMatrix({{"wine.json", wine}, {"other.json", Read(InThreeFormats(OtherImplementation(), c.change))}});
        const std::vector<MatrixPart> parts = MatrixParts(matrix);
        ASSERT_EQ(parts.size(), 3u) << c.name;
        std::vector<std::vector<size_t>> groups;
        for (const MatrixColumnGroup& group : parts[2].groups) groups.push_back(group.columns);
        EXPECT_EQ(groups, c.groups) << c.name;
        EXPECT_EQ(Marked(matrix), c.marked) << c.name;
        EXPECT_EQ(GroupFormatsText(matrix, parts[2].groups[0], false), "X8R8G8B8, A8R8G8B8, R5G6B5 (3 formats)");
    }
    // The column of several formats says such a reason of each as "the format".
    const SurveyMatrix matrix = BuildSurveyMatrix({{"wine.json", Read(InThreeFormats(Fixture(), unread))}});
    const MatrixColumnGroup group = MatrixParts(matrix)[2].groups.at(0);
    ASSERT_EQ(group.columns.size(), 3u);
    size_t said = 0;
    for (const MatrixRow& row : matrix.rows) {
        if (row.label != "Centroid") continue;
        EXPECT_EQ(GroupCell(matrix, group, row).text, "not measured: the format has no green and no blue");
        ++said;
    }
    EXPECT_EQ(said, 1u);
}

TEST(SurveyMatrix, MatrixWritesItsTwoFilesOrNothingWithTheSurveysExitCodes) {
    test_support::ScratchFolder folder;
    const auto write = [&](const char* name, const std::string& text) {
        const std::string path = folder.Path(name);
        test_support::WriteFileBytes(path, std::vector<BYTE>(text.begin(), text.end()));
        return path;
    };
    json moved = OtherImplementation();
    Measurement(moved, 2)["alphaToCoverage"][1]["thresholds"][0][0][2] = 130;
    const std::string wine = write("wine.json", Fixture().dump()), other = write("other.json", moved.dump());
    const std::string notSurvey = write("notes.json", "{\"modes\": []}");
    const std::string aFile = write("file", "x");
    const struct {
        std::vector<std::string> files;
        std::string out;
        int code;
        std::string says;
    } cases[] = {
        {{wine, other}, folder.Path("matrix"), SurveyExitAllMeasured, "Alpha to coverage: llvmpipe"},
        {{wine, notSurvey}, folder.Path("refused"), SurveyExitBadCommandLine, "option '--matrix': '" + notSurvey + "' is not a survey"},
        {{wine}, aFile, SurveyExitOutputFailed, "quillant-survey: "},
    };
    for (const auto& c : cases) {
        std::FILE* out = std::tmpfile();
        EXPECT_EQ(RunSurveyMatrix(c.files, c.out, false, out, out), c.code) << c.out;
        std::rewind(out);
        char text[4096] = {};
        static_cast<void>(std::fread(text, 1, sizeof(text) - 1, out));
        std::fclose(out);
        EXPECT_NE(std::string(text).find(c.says), std::string::npos) << text;
    }
    const std::vector<BYTE> markdown = test_support::ReadFileBytes(folder.Path("matrix\\matrix.md"));
    const std::string md(markdown.begin(), markdown.end());
    EXPECT_NE(md.find("| Alpha to coverage | ATOC |"), std::string::npos);
    EXPECT_NE(md.find("**differs from NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135):**"), std::string::npos);
    EXPECT_FALSE(test_support::ReadFileBytes(folder.Path("matrix\\matrix.html")).empty());
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"file", "matrix", "notes.json", "other.json", "wine.json"}));
}

}  // namespace
