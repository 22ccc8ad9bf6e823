// Heading and table texts of the "Sample Positions" dialog.
#include "viewer/sample_table_text.h"

#include <windows.h>
#include <d3d9.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "analysis/session/measurement_consistency.h"
#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"

namespace {

// A value name as a file-name part: without its prefix, lower case, words joined by dashes.
std::string FileNamePart(const char* text, const char* prefix) {
    const size_t skip = std::strncmp(text, prefix, std::strlen(prefix)) == 0 ? std::strlen(prefix) : 0;
    std::string part;
    for (const char* c = text + skip; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (std::isalnum(byte)) part += static_cast<char>(std::tolower(byte));
        else if (!part.empty() && part.back() != '-') part += '-';
    }
    while (!part.empty() && part.back() == '-') part.pop_back();
    return part;
}

}  // namespace

std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement,
                                            const MeasuredDevice& device) {
    const SampleMeasurement& m = measurement.samplePositions;
    std::vector<std::string> lines;
    lines.push_back(device.description);
    char mode[256];
    std::snprintf(mode, sizeof mode, "%s, quality %u, %s; measured %s at %u x %u",
                  measurement.mode.TypeName(), static_cast<unsigned>(measurement.mode.quality),
                  FormatText(device.format, true),
                  device.fullscreen ? "fullscreen" : "in a window", device.width, device.height);
    lines.push_back(mode);
    // Where the measurements contradict each other, the verdict drawn from the positions would be
    // a guess: the contradiction stands in its place.
    const std::vector<std::string> contradictions = MeasurementContradictions(measurement);
    lines.push_back(std::to_string(m.distinctSamples) +
                    (m.distinctSamples == 1 ? " distinct sample" : " distinct samples") +
                    (contradictions.empty() ? ": " + VerdictText(m)
                                            : ", no verdict: " + ContradictionsText(contradictions)));
    // A measurement that failed leaves the others standing: the heading says which one and why.
    const std::string failed = FailedMeasurementsText(measurement);
    if (!failed.empty()) lines.push_back("Failed: " + failed);
    return lines;
}

std::string MeasuredText(const ModeMeasurement& measurement) {
    // The probe's points sit 1 + 1/N pixels apart: their edges cut the pixel every 1/N.
    char text[96];
    std::snprintf(text, sizeof text, "Measured in steps of 1/%d pixel, in %.0f ms", measurement.samplePositions.gridSize, measurement.milliseconds);
    return text;
}

std::string SamplePositionsFileName(const ModeMeasurement& measurement, const MeasuredDevice& device) {
    return "sample-positions-" + FileNamePart(DeviceTypeText(device.deviceType), "D3DDEVTYPE_") +
           "-" + FileNamePart(FormatText(device.format, true), "D3DFMT_") + "-" +
           FileNamePart(measurement.mode.TypeName(), "D3DMULTISAMPLE_") + "-q" +
           std::to_string(measurement.mode.quality) + ".json";
}
