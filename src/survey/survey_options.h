// The survey's command line: where the report goes, which adapter and device types to measure,
// and how much to print.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

enum class SurveyDevices {
    Hal,  // the hardware device alone (the default)
    Sw,   // a pluggable software device alone
    Ref,  // the reference rasterizer alone
    All,  // every device type the adapter offers: HAL, SW, REF
};

struct SurveyOptions {
    std::string outputFolder = "survey";
    int adapter = -1;  // an adapter ordinal; -1 is every adapter
    SurveyDevices devices = SurveyDevices::Hal;
    bool quiet = false;
    std::string baselineFile;  // an earlier survey.json to compare with; empty for none
    // Compared modes are paired by adapter too, even where each survey holds one adapter.
    bool matchAdapters = false;
    // Each mode is measured by a worker process of its own, ended when it has not answered
    // within this time for each of the formats it measures.
    double modeTimeoutSeconds = 60.0;
    // The d3d9.dll to load instead of the system's (--d3d9 FILE); empty for the system's. The
    // workers load the same file.
    std::string direct3dLibrary;
    // The render-target formats to measure each mode in; empty for every one the adapter
    // multisamples.
    std::vector<D3DFORMAT> formats;
};

// Two survey files compared without measuring anything (--compare BASELINE SURVEY).
struct SurveyComparisonFiles {
    std::string baseline;
    std::string survey;
};

struct ParsedSurveyOptions {
    SurveyOptions options;
    bool showHelp = false;
    bool showVersion = false;
    bool compare = false;  // compareFiles is what to do, options.quiet alone applies
    SurveyComparisonFiles compareFiles;
    // --matrix FILE...: the files side by side in options.outputFolder, nothing measured;
    // options.quiet applies.
    bool matrix = false;
    std::vector<std::string> matrixFiles;
    std::string error;  // one line naming the bad option or value; empty when the line is good
};

// Parses the arguments after the program name. Options take their value as the next argument or
// after '=' (--out=DIR). A later option overrides an earlier one.
ParsedSurveyOptions ParseSurveyOptions(const std::vector<std::string>& arguments);

// The usage text --help prints, several lines, ending in a line break.
const char* SurveyUsage();
// What follows a command-line error's line: where to find the usage, a line.
const char* SurveyUsageHint();
