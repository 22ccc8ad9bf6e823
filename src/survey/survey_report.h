// What a survey found, as plain data: the adapters with their identifiers and one entry per mode
// with its measurement or its failure. The texts, survey.json and survey.md are made from it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/sample_measurement.h"

struct AdapterReport {
    UINT ordinal = 0;
    // The identifier's texts, converted to UTF-8.
    std::string description;
    std::string driver;
    std::string deviceName;
    std::string driverVersion;  // "product.version.subversion.build"
    DWORD vendorId = 0;
    DWORD deviceId = 0;
    DWORD subSysId = 0;
    DWORD revision = 0;
    DWORD whqlLevel = 0;
    std::string deviceIdentifier;  // the GUID in registry form
    std::string desktopFormat;     // "X8R8G8B8"
};

// Milliseconds spent on each step of a mode.
struct ModeTimings {
    double device = 0.0;       // creating the device
    double measurement = 0.0;  // measuring the sample positions
    double picture = 0.0;      // drawing, resolving and writing the picture
    double total = 0.0;
};

struct ModeReport {
    UINT adapterOrdinal = 0;
    std::string deviceType;        // "HAL", "SW", "REF"
    std::string adapterFormat;     // "X8R8G8B8"
    std::string backBufferFormat;  // "X8R8G8B8"
    int multisampleType = 0;       // D3DMULTISAMPLE_TYPE value
    unsigned multisampleQuality = 0;

    bool measured = false;
    // Where a mode failed: "device", "measurement" or "picture", with the result code (0 where
    // there is none) and what the program or the framework said about it.
    std::string failureStage;
    HRESULT failureCode = S_OK;
    std::string failureText;

    SampleMeasurement measurement;  // meaningful when measured
    std::string picture;            // file name in the output folder; empty when none was written
    ModeTimings timings;
};

struct SurveyReport {
    std::vector<AdapterReport> adapters;
    std::vector<ModeReport> modes;
    std::vector<std::string> notes;  // adapters or device types asked for with nothing to measure
    double totalMilliseconds = 0.0;
};

// "D3DMULTISAMPLE_4_SAMPLES".
std::string MultisampleName(int multisampleType);
// "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0".
std::string ModeLabel(const ModeReport& mode);
// "adapter0-hal-x8r8g8b8-4-samples-q0.png": unique per mode, the same from run to run.
std::string PictureFileName(const ModeReport& mode);
// The samples of the pixel, coincident ones counted: "1 sample", "4 samples".
std::string SampleCountText(const SampleMeasurement& measurement);
// "4 samples, standard 4-sample pattern, texture once per pixel", or "failed: ...".
std::string ModeOutcomeText(const ModeReport& mode);
// "[3/7] HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: 4 samples, ... (38 ms)".
std::string ProgressLine(size_t index, size_t total, const ModeReport& mode);
// The console's closing table: one row per mode, then a line with the counts and the time.
std::string SummaryTable(const SurveyReport& report);
// "D3DERR_NOTAVAILABLE (0x8876086A)"; the code alone where it has no name here.
std::string ResultCodeText(HRESULT code);
// Text of the system's ANSI code page, at most maxLength bytes (the identifier's fields need not
// end in a terminator), as UTF-8.
std::string AnsiToUtf8(const char* text, size_t maxLength);
