// The survey's texts: mode labels, progress lines, the console summary and picture names.
#include "survey/survey_report.h"

#include <d3d9.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "analysis/positions/positions_view.h"
#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"
#include "survey/padded_table.h"
#include "survey/survey_modes.h"

namespace {

struct ExceptionName {
    DWORD code;
    const char* name;
};

// The exceptions and exit codes a process ended by a driver or a runtime usually shows.
const ExceptionName kExceptionNames[] = {
    {0xC0000005, "access violation"},
    {0xC000001D, "illegal instruction"},
    {0xC0000094, "integer division by zero"},
    {0xC00000FD, "stack overflow"},
    {0xC0000374, "heap corruption"},
    {0xC0000409, "fail fast"},
    {0xC0000135, "a DLL was not found"},
    {0xC0000142, "a DLL failed to initialise"},
    {0x80000003, "breakpoint"},
    {0xE06D7363, "an uncaught Visual C++ exception"},
    {0x20474343, "an uncaught GCC C++ exception"},
    {3, "abort: a C runtime ended the process (with mingw, an uncaught C++ exception)"},
};

std::string Lowered(std::string text) {
    for (char& c : text) {
        c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Milliseconds(double milliseconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.0f ms", milliseconds);
    return text;
}

std::string TextureShortText(const SampleMeasurement& measurement) {
    switch (measurement.textureSampling) {
    case TextureSampling::OncePerPixel: return "texture once per pixel";
    case TextureSampling::PerSample: return "texture per sample";
    case TextureSampling::NotMeasured: break;
    }
    return "texture not measured";
}

}  // namespace

std::string ModeBaseLabel(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    return std::string(ShortDeviceTypeText(mode.deviceType)) + " " + FormatText(multisample.format, false) + " " +
           multisample.TypeName() + " q" + std::to_string(multisample.quality);
}

std::string ModeLabel(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    const std::string label = ModeBaseLabel(mode);
    if (multisample.DrawnInBackBufferFormat()) return label;
    return label + " in " + FormatText(multisample.DrawnFormat(), false);
}

std::string PictureFileName(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    std::string type = multisample.TypeName();
    const std::string prefix = "D3DMULTISAMPLE_";
    if (type.compare(0, prefix.size(), prefix) == 0) type.erase(0, prefix.size());
    return "adapter" + std::to_string(mode.adapterOrdinal) + "-" + Lowered(ShortDeviceTypeText(mode.deviceType)) +
           "-" + Lowered(FormatText(multisample.format, false)) + "-" + Lowered(type) + "-q" +
           std::to_string(multisample.quality) +
           (multisample.DrawnInBackBufferFormat() ? std::string() : "-" + Lowered(FormatText(multisample.DrawnFormat(), false))) +
           ".png";
}

std::string ModeOutcomeText(const ModeReport& mode) {
    // The fault's text names the step and the codes itself.
    if (mode.fault != ModeFault::None) return mode.failureText;
    if (!mode.measured) {
        std::string text = "failed: " + mode.failureStage;
        if (mode.failureCode != S_OK) text += " " + ResultCodeText(mode.failureCode);
        if (!mode.failureText.empty()) text += ": " + mode.failureText;
        return text;
    }
    return SampleCountText(mode.measurement) + ", " + VerdictText(mode.measurement.samplePositions) + ", " +
           TextureShortText(mode.measurement.samplePositions);
}

std::string ProgressLine(size_t index, size_t total, const ModeReport& mode) {
    const std::string picture = mode.pictureError.empty() ? std::string() : "; picture not written: " + mode.pictureError;
    return "[" + std::to_string(index) + "/" + std::to_string(total) + "] " + ModeLabel(mode) + ": " +
           ModeOutcomeText(mode) + picture + " (" + Milliseconds(mode.timings.total) + ")";
}

std::vector<D3DFORMAT> RenderTargetFormatsOf(const std::vector<ModeReport>& modes) {
    std::vector<D3DFORMAT> formats;
    for (const ModeReport& mode : modes) {
        const D3DFORMAT drawn = mode.measurement.mode.DrawnFormat();
        if (std::find(formats.begin(), formats.end(), drawn) == formats.end()) formats.push_back(drawn);
    }
    return formats;
}

std::vector<ViewColumn> ModeColumns(const ModeReport& mode, const std::string& failure) {
    std::vector<ViewColumn> columns;
    for (const MeasurementModule& module : MeasurementModules()) {
        for (ViewColumn column : DescribeMeasurement(module, mode.measurement).columns) {
            // A failed mode says why where the verdict would stand; what it measured stands.
            // The console keeps a column some mode has words for there.
            if (!mode.measured && column.heading == "Verdict") column.text = column.brief = failure;
            else if (!HoldsMeasurement(mode)) {
                column.text = "-";
                if (!column.brief.empty()) column.brief = "-";
            }
            columns.push_back(column);
        }
    }
    return columns;
}

std::string SummaryTable(const SurveyReport& report) {
    // The console has room for each column's few words; survey.md carries the rest.
    const std::vector<ViewColumn> headings = ModeColumns(ModeReport(), std::string());
    std::vector<std::vector<std::string>> rows = {{"Mode"}};
    for (const ViewColumn& column : headings) rows[0].push_back(column.heading);
    rows[0].push_back("Time");
    std::vector<bool> shown(headings.size(), false);
    size_t failed = 0;
    for (D3DFORMAT format : RenderTargetFormatsOf(report.modes)) {
        for (const ModeReport& mode : report.modes) {
            if (mode.measurement.mode.DrawnFormat() != format) continue;
            failed += mode.measured ? 0 : 1;
            const char* what = mode.fault == ModeFault::ProcessEnded ? "crashed in "
                               : mode.fault == ModeFault::NoAnswer   ? "no answer in "
                                                                     : "failed: ";
            std::vector<std::string> row = {ModeLabel(mode)};
            const std::vector<ViewColumn> columns = ModeColumns(mode, what + mode.failureStage);
            for (size_t c = 0; c < headings.size(); ++c) {
                row.push_back(c < columns.size() ? columns[c].brief : std::string());
                shown[c] = shown[c] || !row.back().empty();
            }
            row.push_back(Milliseconds(mode.timings.total));
            rows.push_back(row);
        }
    }
    for (size_t c = headings.size(); c-- > 0;) {
        if (shown[c]) continue;
        for (std::vector<std::string>& row : rows) row.erase(row.begin() + 1 + static_cast<std::ptrdiff_t>(c));
    }
    std::string table = PaddedTable(rows);
    char closing[160];
    std::snprintf(closing, sizeof(closing), "%zu %s: %zu measured, %zu failed, in %.2f s\n",
                  report.modes.size(), report.modes.size() == 1 ? "mode" : "modes",
                  report.modes.size() - failed, failed, report.totalMilliseconds / 1000.0);
    table += closing;
    table += SwitchesText(report);
    for (const std::string& note : report.notes) table += "note: " + note + "\n";
    return table;
}

std::string SwitchesText(const SurveyReport& report) {
    std::string text;
    for (const ModeReport& mode : report.modes) {
        if (!mode.measured) continue;
        std::vector<ViewFact> switches;
        for (const MeasurementModule& module : MeasurementModules()) {
            const std::vector<ViewFact> found = module.describe(mode.measurement).switches;
            switches.insert(switches.end(), found.begin(), found.end());
        }
        // Switches that found the same (centroid in both shader models, often) say it once.
        std::string line;
        for (const ViewFact& fact : JoinedByValue(switches)) line += (line.empty() ? "" : "; ") + fact.label + " " + fact.value;
        if (!line.empty()) text += "  " + ModeLabel(mode) + ": " + line + "\n";
    }
    return text.empty() ? text : "Switches, what the caps claim beside what was measured:\n" + text;
}

std::string ExceptionCodeText(DWORD code) {
    char hex[16];
    std::snprintf(hex, sizeof(hex), code < 0x10000 ? "%lu" : "0x%08lX", static_cast<unsigned long>(code));
    for (const ExceptionName& entry : kExceptionNames) {
        if (entry.code == code) return std::string(hex) + " (" + entry.name + ")";
    }
    return hex;
}

const char* ModeStatusName(const ModeReport& mode) {
    switch (mode.fault) {
    case ModeFault::ProcessEnded: return "crashed";
    case ModeFault::NoAnswer: return "timedOut";
    case ModeFault::None: break;
    }
    return mode.measured ? "measured" : "failed";
}

bool ImplementationFailed(const ModeReport& mode) {
    if (mode.fault != ModeFault::None) return true;
    // A device that stayed lost, or that the driver took away, never came back for the mode.
    return !mode.measured && (mode.failureCode == D3DERR_DEVICELOST || mode.failureCode == D3DERR_DEVICEREMOVED ||
                              mode.failureCode == D3DERR_DEVICEHUNG);
}

bool HoldsMeasurement(const ModeReport& mode) {
    if (mode.measured || mode.failureStage == "consistency") return true;
    return mode.failureStage == "measurement" && !mode.measurement.failures.empty();
}
