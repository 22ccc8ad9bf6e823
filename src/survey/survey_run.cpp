// The survey from start to exit code.
#include "survey/survey_run.h"

#include <chrono>
#include <string>

#include "survey/output_folder.h"
#include "survey/survey_application.h"
#include "survey/survey_json.h"
#include "survey/survey_markdown.h"
#include "survey/survey_modes.h"
#include "image/file_replacing.h"

namespace {

using Clock = std::chrono::steady_clock;

void PrintLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
    // Each line as it happens, also when the stream is a pipe.
    std::fflush(stream);
}

bool ReadDesktopMode(void* context, UINT adapterOrdinal, D3DDISPLAYMODE* mode) {
    IDirect3D9* direct3d = static_cast<IDirect3D9*>(context);
    return SUCCEEDED(direct3d->GetAdapterDisplayMode(adapterOrdinal, mode));
}

std::string AdapterCountText(UINT count) {
    return count == 1 ? std::string("this machine has one adapter, 0")
                      : "this machine has " + std::to_string(count) + " adapters, 0 to " + std::to_string(count - 1);
}

}  // namespace

int RunSurvey(const SurveyOptions& options, std::FILE* out, std::FILE* err, SurveyReport* reportOut) {
    const Clock::time_point start = Clock::now();
    SurveyApplication app;
    if (FAILED(app.Start(GetModuleHandleA(nullptr)))) {
        std::string reports = app.TakeFrameworkReports();
        PrintLine(err, "quillant-survey: Direct3D 9 could not be started" + (reports.empty() ? "" : ": " + reports));
        return SurveyExitModeFailed;
    }

    const UINT adapterCount = app.direct3d->GetAdapterCount();
    if (options.adapter >= 0 && static_cast<UINT>(options.adapter) >= adapterCount) {
        PrintLine(err, "quillant-survey: option '--adapter': there is no adapter " + std::to_string(options.adapter) +
                           " (" + AdapterCountText(adapterCount) + ")");
        std::fputs(SurveyUsage(), err);
        return SurveyExitBadCommandLine;
    }

    const SurveyPlan plan = PlanSurvey(app.enumeration, options, ReadDesktopMode, app.direct3d);

    OutputFolder folder;
    std::string error;
    if (FAILED(PrepareOutputFolder(options.outputFolder, &folder, &error))) {
        PrintLine(err, "quillant-survey: " + error);
        return SurveyExitOutputFailed;
    }

    SurveyReport report;
    for (const SurveyGap& gap : plan.gaps) {
        report.notes.push_back("adapter " + std::to_string(gap.adapterOrdinal) + ": " + gap.reason);
    }
    UINT described = ~0u;
    for (const SurveyMode& mode : plan.modes) {
        if (mode.adapterInfo->adapterOrdinal != described) {
            described = mode.adapterInfo->adapterOrdinal;
            report.adapters.push_back(app.DescribeAdapter(*mode.adapterInfo, mode.desktop));
        }
    }

    const auto outputFailed = [&](const std::string& name, HRESULT code) {
        PrintLine(err, "quillant-survey: cannot write '" + OutputPath(folder, name) + "': " + SystemErrorText(code));
        return SurveyExitOutputFailed;
    };

    size_t failed = 0;
    for (size_t i = 0; i < plan.modes.size(); ++i) {
        ModeReport mode = ReportForMode(plan.modes[i]);
        const std::string pictureName = PictureFileName(mode);
        HRESULT outputFailure = S_OK;
        app.Survey(plan.modes[i], OutputPath(folder, pictureName), &mode, &outputFailure);
        if (FAILED(outputFailure)) return outputFailed(pictureName, outputFailure);
        if (!mode.measured) ++failed;
        // Quiet, a failed mode's line still goes out, as an error.
        if (!options.quiet) {
            PrintLine(out, ProgressLine(i + 1, plan.modes.size(), mode));
        } else if (!mode.measured) {
            PrintLine(err, ProgressLine(i + 1, plan.modes.size(), mode));
        }
        report.modes.push_back(mode);
    }
    // Everything the framework made goes before the files are written and the time is taken.
    app.Finish();
    report.totalMilliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    const HRESULT json = WriteFileReplacing(OutputPath(folder, "survey.json").c_str(), SurveyJsonText(report));
    if (FAILED(json)) return outputFailed("survey.json", json);
    const HRESULT markdown = WriteFileReplacing(OutputPath(folder, "survey.md").c_str(), SurveyMarkdown(report));
    if (FAILED(markdown)) return outputFailed("survey.md", markdown);

    if (!options.quiet) {
        std::fputs("\n", out);
        std::fputs(SummaryTable(report).c_str(), out);
        PrintLine(out, "report: " + OutputPath(folder, "survey.md") + ", " + OutputPath(folder, "survey.json"));
    }
    for (const std::string& note : report.notes) {
        if (options.quiet || plan.modes.empty()) PrintLine(err, "quillant-survey: " + note);
    }
    if (plan.modes.empty()) PrintLine(err, "quillant-survey: nothing to measure");
    if (reportOut) *reportOut = report;
    return failed == 0 && !plan.modes.empty() ? SurveyExitAllMeasured : SurveyExitModeFailed;
}
