// survey.html from the survey's report: every measurement's view on the page, ladders on their
// own scale, differences from a baseline marked where the page has the mode and listed where not.
#include "survey/survey_html.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/measurement_builders.h"

namespace {


ModeReport FourSampleMode() {
    ModeReport mode;
    mode.measured = true;
    mode.measurement.mode.type = D3DMULTISAMPLE_4_SAMPLES;
    mode.measurement.mode.format = D3DFMT_A2R10G10B10;
    SampleMeasurement& positions = mode.measurement.samplePositions;
    positions.gridSize = 64;
    positions.standardPattern = true;
    positions.samples = test_support::StandardFourSamples();
    return mode;
}

SurveyReport Report(const ModeReport& mode) {
    SurveyReport report;
    report.adapters.push_back(AdapterDescription());
    report.adapters[0].description = "Card";
    report.modes = {mode};
    return report;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(SurveyPage, ALadderIsDrawnOnItsOwnScaleNotOnEightBits) {
    ModeReport mode = FourSampleMode();
    ResolveMeasurement& resolve = mode.measurement.resolve;
    resolve.transfer.colourSamples = 4;
    resolve.transfer.valueScale = 1023;
    resolve.transfer.curve.verdict = TransferVerdict::Stored;
    for (int k = 0; k <= 4; ++k) resolve.transfer.curve.ladder.push_back({k, 1023 * k / 4});
    const std::string page = SurveyHtml(Report(mode));
    // The plot is 112 px high from y = 8: the full rung (1023 of 1023) at its top, half way at 64.
    EXPECT_NE(page.find("<title>4 covered: 1023</title>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(page, std::regex("cx=\"190\" cy=\"8\" r=\"3\"[^>]*><title>4 covered: 1023")));
    EXPECT_TRUE(std::regex_search(page, std::regex("cx=\"110\" cy=\"64\\.[0-9]\" r=\"3\"[^>]*><title>2 covered: 511")));
    EXPECT_NE(page.find(">1023</text>"), std::string::npos);
}

TEST(SurveyPage, EachMeasurementShowsWhereItWasMeasuredAndNotWhereItWasNot) {
    ModeReport mode = FourSampleMode();
    const std::string plain = SurveyHtml(Report(mode));
    AlphaToCoverageMap map;
    map.offered = true;
    map.samples = 4;
    map.verdict = AlphaToCoverageVerdict::Thresholds;
    map.thresholds = {{{32, 96, 160, 224}, {32, 96, 160, 224}}};
    mode.measurement.alphaToCoverage.switches = {map};
    mode.measurement.resolve.transfer.colourSamples = 4;
    for (int k = 0; k <= 4; ++k) mode.measurement.resolve.transfer.curve.ladder.push_back({k, 255 * k / 4});
    // A centroid case as a survey file holds it: the samples are the mode's positions.
    CentroidCase half;
    half.covered = 0xA;
    half.evaluated = PixelPoint{0.75, 0.625};
    mode.measurement.centroid.cases = {half};
    const std::string rich = SurveyHtml(Report(mode));
    for (const char* part : {"<polyline", "<td>32 96 160 224</td>", "<title>32 96 160 224</title>",
                             "<title>sample 1, covered</title>", "<title>sample 3, covered</title>",
                             "<title>sample 0, not covered</title>", "<title>centroid of the covered samples</title>"}) {
        EXPECT_EQ(plain.find(part), std::string::npos) << part;
        EXPECT_NE(rich.find(part), std::string::npos) << part;
    }
    for (const char* title : {"Sample positions", "Resolve transfer", "Resolve footprint", "Coverage levels",
                              "Alpha to coverage", "Centroid", "Multisampling off"}) {
        EXPECT_EQ(Count(rich, std::string("<h5>") + title + "</h5>"), 1u) << title;
    }
    // Four numbered dots in the pixel, none twice; the two the centroid case covered in its own.
    EXPECT_EQ(Count(rich, "<g class=\"sample\">"), 4u + 2u);
    EXPECT_EQ(rich.find("<script"), std::string::npos);
    for (const char* remote : {"src=\"http", "href=\"http", "url("}) EXPECT_EQ(rich.find(remote), std::string::npos);
}

TEST(SurveyPage, AMovedSampleIsRingedAndAModeOnlyInTheBaselineIsListedWithoutALink) {
    const SurveyReport report = Report(FourSampleMode());
    const std::string label = ModeLabel(report.modes[0]);
    BaselineComparison baseline;
    baseline.file = "old.json";
    baseline.differences = {
        {label, "sample 2 (mask bit 2) y", "was 10/16 now 12/16", "/measurement/samplePositions/samples/2/y",
         {{"exact", true}, {"sixteenths", 12}, {"low", 0.75}, {"high", 0.8125}},
         {{"exact", true}, {"sixteenths", 10}, {"low", 0.625}, {"high", 0.6875}}},
        {"HAL X8R8G8B8 D3DMULTISAMPLE_8_SAMPLES q0", "mode", "only in the baseline, not in this survey", "", "measured",
         nullptr},
    };
    const std::string page = SurveyHtml(report, &baseline);
    EXPECT_NE(page.find("2 differences from the baseline old.json"), std::string::npos);
    EXPECT_EQ(Count(page, "class=\"moved\""), 1u);
    EXPECT_NE(page.find("<a href=\"#mode"), std::string::npos);
    EXPECT_NE(page.find("<li>HAL X8R8G8B8 D3DMULTISAMPLE_8_SAMPLES q0: mode only in the baseline"), std::string::npos);
    // Every link on the page leads to a section that is there.
    const std::regex link("href=\"#([^\"]+)\"");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link); it != std::sregex_iterator(); ++it) {
        EXPECT_NE(page.find("id=\"" + (*it)[1].str() + "\""), std::string::npos) << (*it)[1].str();
    }
}

}  // namespace
