// The survey's command line: every option in both spellings, and a one-line error naming what is
// wrong for each kind of bad input.
#include "survey/survey_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

ParsedSurveyOptions Parse(std::vector<std::string> arguments) { return ParseSurveyOptions(arguments); }

TEST(SurveyOptions, NoArgumentsMeansEveryAdapterTheHalDeviceAndTheSurveyFolder) {
    const ParsedSurveyOptions parsed = Parse({});
    EXPECT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.showHelp);
    EXPECT_EQ(parsed.options.outputFolder, "survey");
    EXPECT_EQ(parsed.options.adapter, -1);
    EXPECT_EQ(parsed.options.devices, SurveyDevices::Hal);
    EXPECT_FALSE(parsed.options.quiet);
    EXPECT_EQ(parsed.options.modeTimeoutSeconds, 60.0);
}

TEST(SurveyOptions, ModeTimeoutTakesSecondsAboveZero) {
    EXPECT_EQ(Parse({"--mode-timeout", "5"}).options.modeTimeoutSeconds, 5.0);
    EXPECT_EQ(Parse({"--mode-timeout=2.5"}).options.modeTimeoutSeconds, 2.5);
    for (const char* bad : {"0", "0.0", "-1", "1e3", "1.2.3", ".", "ten", "", "100000"}) {
        EXPECT_EQ(Parse({"--mode-timeout", bad}).error,
                  std::string("option '--mode-timeout' needs a number of seconds above 0 (60, 2.5), not '") + bad + "'")
            << bad;
    }
}

TEST(SurveyOptions, ValuesComeAsTheNextArgumentOrAfterAnEqualsSign) {
    const ParsedSurveyOptions separate = Parse({"--out", "C:\\reports\\a b", "--adapter", "1", "--device", "all", "--quiet"});
    EXPECT_EQ(separate.error, "");
    EXPECT_EQ(separate.options.outputFolder, "C:\\reports\\a b");
    EXPECT_EQ(separate.options.adapter, 1);
    EXPECT_EQ(separate.options.devices, SurveyDevices::All);
    EXPECT_TRUE(separate.options.quiet);

    EXPECT_EQ(Parse({"--d3d9", "Z:\\dxvk\\d3d9.dll"}).options.direct3dLibrary, "Z:\\dxvk\\d3d9.dll");
    EXPECT_EQ(Parse({"--d3d9=d3d9.dll"}).options.direct3dLibrary, "d3d9.dll");

    const ParsedSurveyOptions joined = Parse({"--out=x=y", "--adapter=0", "--device=ref"});
    EXPECT_EQ(joined.error, "");
    // Only the first '=' separates: the folder name may hold one.
    EXPECT_EQ(joined.options.outputFolder, "x=y");
    EXPECT_EQ(joined.options.adapter, 0);
    EXPECT_EQ(joined.options.devices, SurveyDevices::Ref);
}

TEST(SurveyOptions, ALaterOptionOverridesAnEarlierOne) {
    const ParsedSurveyOptions parsed = Parse({"--device", "all", "--device", "hal", "--out", "a", "--out", "b"});
    EXPECT_EQ(parsed.options.devices, SurveyDevices::Hal);
    EXPECT_EQ(parsed.options.outputFolder, "b");
}

TEST(SurveyOptions, HelpIsAskedForInEachSpelling) {
    for (const char* spelling : {"--help", "-h", "/?"}) {
        const ParsedSurveyOptions parsed = Parse({"--quiet", spelling});
        EXPECT_EQ(parsed.error, "") << spelling;
        EXPECT_TRUE(parsed.showHelp) << spelling;
    }
    EXPECT_NE(std::string(SurveyUsage()).find("--device hal|sw|ref|all"), std::string::npos);
    EXPECT_TRUE(Parse({"--version"}).showVersion);
}

TEST(SurveyOptions, UnknownOptionsAndStrayArgumentsAreNamed) {
    EXPECT_EQ(Parse({"--outt", "x"}).error, "unknown option '--outt'");
    EXPECT_EQ(Parse({"--verbose=2"}).error, "unknown option '--verbose'");
    EXPECT_EQ(Parse({"-q"}).error, "unknown option '-q'");
    EXPECT_EQ(Parse({"report"}).error, "unexpected argument 'report'");
    EXPECT_EQ(Parse({"--quiet=yes"}).error, "option '--quiet' takes no value");
}

TEST(SurveyOptions, AMissingValueIsAnErrorNotTheNextOptionTakenAsIt) {
    EXPECT_EQ(Parse({"--out"}).error, "option '--out' needs a value");
    EXPECT_EQ(Parse({"--quiet", "--adapter"}).error, "option '--adapter' needs a value");
    // "--out=" gives no value, as "--out" does; an empty argument is a value, and no folder name.
    EXPECT_EQ(Parse({"--out="}).error, "option '--out' needs a value");
    EXPECT_EQ(Parse({"--out", ""}).error, "option '--out' needs a folder name");
    EXPECT_EQ(Parse({"--out", "--quiet"}).error, "option '--out' needs a value");
    EXPECT_EQ(Parse({"--d3d9"}).error, "option '--d3d9' needs a value");
    EXPECT_EQ(Parse({"--d3d9", ""}).error, "option '--d3d9' needs a d3d9.dll file");
    EXPECT_EQ(Parse({"--compare", "a.json", "--quiet"}).error,
              "option '--compare' needs two survey files, the baseline and the survey");
    // What only looks like an option elsewhere is a value here.
    EXPECT_EQ(Parse({"--out", "/?"}).options.outputFolder, "/?");
    EXPECT_EQ(Parse({"--out", "/?"}).showHelp, false);
}

TEST(SurveyOptions, AdapterTakesOnlyAWholeNonNegativeNumber) {
    for (const char* bad : {"", "-1", "one", "1x", " 1", "+1", "1.0", "12345678901"}) {
        const ParsedSurveyOptions parsed = Parse({"--adapter", bad});
        EXPECT_EQ(parsed.error, std::string("option '--adapter' needs an adapter number (0, 1, ...), not '") + bad + "'")
            << bad;
    }
    EXPECT_EQ(Parse({"--adapter", "007"}).options.adapter, 7);
}

TEST(SurveyOptions, DeviceTakesHalSwRefOrAllInAnyCase) {
    const std::pair<const char*, SurveyDevices> good[] = {
        {"hal", SurveyDevices::Hal}, {"HAL", SurveyDevices::Hal}, {"sw", SurveyDevices::Sw},
        {"Ref", SurveyDevices::Ref}, {"ALL", SurveyDevices::All}};
    for (const auto& g : good) EXPECT_EQ(Parse({"--device", g.first}).options.devices, g.second) << g.first;
    for (const char* bad : {"", "hal,ref", "pure"}) {
        EXPECT_EQ(Parse({"--device", bad}).error, std::string("option '--device' takes hal, sw, ref or all, not '") + bad + "'")
            << bad;
    }
}

TEST(SurveyOptions, CompareTakesTwoFilesAndNothingThatMeasures) {
    const ParsedSurveyOptions parsed = Parse({"--quiet", "--compare", "a.json", "b.json"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.compare);
    EXPECT_EQ(parsed.compareFiles.baseline, "a.json");
    EXPECT_EQ(parsed.compareFiles.survey, "b.json");
    EXPECT_EQ(Parse({"--compare", "a.json"}).error, "option '--compare' needs two survey files, the baseline and the survey");
    EXPECT_EQ(Parse({"--compare", "a", "b", "--device", "hal"}).error,
              "option '--device' does not go with '--compare', which measures nothing");
    EXPECT_EQ(Parse({"--compare", "a", "b", "--d3d9", "d3d9.dll"}).error,
              "option '--d3d9' does not go with '--compare', which measures nothing");
    EXPECT_EQ(Parse({"--baseline=old.json"}).options.baselineFile, "old.json");
}

TEST(SurveyOptions, MatrixTakesAnyNumberOfFilesAndAnOutputFolderButNothingThatMeasures) {
    const ParsedSurveyOptions parsed = Parse({"--matrix", "a.json", "b.json", "c.json", "--out", "side"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.matrix);
    EXPECT_EQ(parsed.matrixFiles, (std::vector<std::string>{"a.json", "b.json", "c.json"}));
    EXPECT_EQ(parsed.options.outputFolder, "side");
    EXPECT_EQ(Parse({"--out", "x", "--quiet", "--matrix", "a.json"}).matrixFiles, std::vector<std::string>{"a.json"});
    EXPECT_TRUE(Parse({"--compare", "a", "b", "--match-adapters"}).options.matchAdapters);
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--matrix"}, "option '--matrix' needs a value"},
        {{"--matrix", "a", "--adapter", "1"}, "option '--adapter' does not go with '--matrix', which measures nothing"},
        {{"--matrix", "a", "--match-adapters"}, "option '--match-adapters' does not go with '--matrix', which measures nothing"},
        {{"--matrix", "a", "--compare", "b", "c"}, "option '--matrix' does not go with '--compare'"},
    };
    for (const auto& b : bad) EXPECT_EQ(Parse(b.first).error, b.second) << b.second;
}

}  // namespace

namespace {

TEST(SurveyOptions, FormatTakesRenderTargetFormatsInAnyCaseWithOrWithoutThePrefix) {
    const struct {
        std::vector<std::string> arguments;
        std::vector<D3DFORMAT> formats;
    } good[] = {
        {{}, {}},
        {{"--format", "A16B16G16R16F"}, {D3DFMT_A16B16G16R16F}},
        {{"--format", "r5g6b5", "D3DFMT_X8R8G8B8", "--quiet"}, {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}},
        {{"--format=a2r10g10b10,R16F,r16f"}, {D3DFMT_A2R10G10B10, D3DFMT_R16F}},
    };
    for (const auto& g : good) {
        const ParsedSurveyOptions parsed = Parse(g.arguments);
        EXPECT_EQ(parsed.error, "");
        std::vector<D3DFORMAT> sorted = parsed.options.formats, expected = g.formats;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);
    }
    for (const char* bad : {"D24S8", "X8R8G8B8,", "L8", "unknown"}) {
        const std::string error = Parse({"--format", bad}).error;
        EXPECT_EQ(error.find("option '--format' takes render-target formats (X8R8G8B8, A8R8G8B8, "), 0u) << error;
    }
    EXPECT_EQ(Parse({"--format"}).error, "option '--format' needs a value");
}

}  // namespace
