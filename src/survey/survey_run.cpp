// The survey from start to exit code.
#include "survey/survey_run.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "survey/baseline_report.h"
#include "survey/display_check.h"
#include "survey/earlier_pictures.h"
#include "survey/output_folder.h"
#include "survey/survey_application.h"
#include "survey/survey_document.h"
#include "survey/survey_html.h"
#include "survey/survey_json.h"
#include "survey/survey_markdown.h"
#include "survey/survey_modes.h"
#include "survey/survey_reading.h"
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

// Removes the pictures an earlier survey wrote here that this one did not write again; the names
// of those removed.
std::vector<std::string> RemoveEarlierPictures(const OutputFolder& folder, const std::vector<std::string>& earlier,
                                               const SurveyReport& report) {
    std::vector<std::string> removed;
    for (const std::string& name : earlier) {
        bool rewritten = false;
        for (const ModeReport& mode : report.modes) rewritten = rewritten || mode.picture == name;
        if (!rewritten && DeleteFileA(OutputPath(folder, name).c_str())) removed.push_back(name);
    }
    return removed;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

int RunSurvey(const SurveyOptions& options, std::FILE* out, std::FILE* err, SurveyReport* reportOut) {
    const Clock::time_point start = Clock::now();
    // A baseline that cannot be compared fails before anything is measured or written.
    SurveyReport baselineReport;
    if (!options.baselineFile.empty()) {
        std::string error;
        if (!LoadSurveyReport(options.baselineFile, &baselineReport, &error)) {
            PrintLine(err, "quillant-survey: option '--baseline': " + error);
            return SurveyExitBadCommandLine;
        }
    }

    SurveyApplication app;
    if (FAILED(app.Start(GetModuleHandleA(nullptr)))) {
        const std::string reports = app.TakeFrameworkReports();
        const std::string cause = MissingDisplayText();
        PrintLine(err, "quillant-survey: Direct3D 9 could not be started: " +
                           (!cause.empty() ? cause : !reports.empty() ? reports : std::string("no Direct3D 9 here")));
        return SurveyExitNotStarted;
    }

    const UINT adapterCount = app.direct3d->GetAdapterCount();
    if (options.adapter >= 0 && static_cast<UINT>(options.adapter) >= adapterCount) {
        PrintLine(err, "quillant-survey: option '--adapter': there is no adapter " + std::to_string(options.adapter) +
                           " (" + AdapterCountText(adapterCount) + ")");
        std::fputs(SurveyUsageHint(), err);
        return SurveyExitBadCommandLine;
    }

    const SurveyPlan plan = PlanSurvey(app.enumeration, options, ReadDesktopMode, app.direct3d);

    OutputFolder folder;
    std::string error;
    if (FAILED(PrepareOutputFolder(options.outputFolder, &folder, &error))) {
        PrintLine(err, "quillant-survey: " + error);
        return SurveyExitOutputFailed;
    }
    // What an earlier survey left here, read before this one's survey.json replaces it.
    std::vector<std::string> earlierPictures;
    {
        nlohmann::json earlier;
        std::string unreadable;
        if (ReadJsonFile(OutputPath(folder, "survey.json"), &earlier, &unreadable)) {
            earlierPictures = EarlierSurveyPictures(earlier);
        }
    }

    SurveyReport report;
    for (const SurveyGap& gap : plan.gaps) {
        report.notes.push_back("adapter " + std::to_string(gap.adapterOrdinal) + ": " + gap.reason);
    }
    UINT described = ~0u;
    for (const SurveyMode& mode : plan.modes) {
        if (mode.adapterInfo->adapterOrdinal != described) {
            described = mode.adapterInfo->adapterOrdinal;
            report.adapters.push_back(
                DescribeAdapter(mode.adapterInfo->adapterOrdinal, mode.adapterInfo->identifier, mode.desktop.Format));
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

    nlohmann::json document = SurveyToJson(report);
    std::string markdown = SurveyMarkdown(report);
    BaselineComparison baseline;
    if (!options.baselineFile.empty()) {
        // Compared as its survey.json reads back, rounded as the baseline's file was.
        SurveyReport written = report;
        std::string unreadable;
        ReadSurveyReport(document, &written, &unreadable);
        baseline = {options.baselineFile, CompareSurveys(baselineReport, written)};
        document["baseline"] = BaselineToJson(baseline);
        markdown += BaselineMarkdown(baseline);
    }
    const std::pair<const char*, std::string> files[] = {
        {"survey.json", SurveyJsonText(document)},
        {"survey.md", markdown},
        {"survey.html", SurveyHtml(document)},
    };
    for (const auto& file : files) {
        const HRESULT written = WriteFileReplacing(OutputPath(folder, file.first).c_str(), file.second);
        if (FAILED(written)) return outputFailed(file.first, written);
    }
    const std::vector<std::string> removed = RemoveEarlierPictures(folder, earlierPictures, report);

    if (!options.quiet) {
        std::fputs("\n", out);
        std::fputs(SummaryTable(report).c_str(), out);
        if (!removed.empty()) {
            PrintLine(out, "removed the earlier survey's pictures of modes not measured now: " + Joined(removed));
        }
    }
    if (!options.baselineFile.empty()) std::fputs(BaselineConsoleText(baseline).c_str(), out);
    PrintLine(out, "report: " + OutputPath(folder, "survey.html") + ", " + OutputPath(folder, "survey.md") + ", " +
                       OutputPath(folder, "survey.json"));
    for (const std::string& note : report.notes) {
        if (options.quiet || plan.modes.empty()) PrintLine(err, "quillant-survey: " + note);
    }
    if (plan.modes.empty()) PrintLine(err, "quillant-survey: nothing to measure");
    if (reportOut) *reportOut = report;
    if (failed > 0 || plan.modes.empty()) return SurveyExitModeFailed;
    return baseline.differences.empty() ? SurveyExitAllMeasured : SurveyExitDiffersFromBaseline;
}

int RunSurveyComparison(const SurveyComparisonFiles& files, bool quiet, std::FILE* out, std::FILE* err) {
    SurveyReport reports[2];
    const std::string* paths[2] = {&files.baseline, &files.survey};
    for (int i = 0; i < 2; ++i) {
        std::string error;
        if (!LoadSurveyReport(*paths[i], &reports[i], &error)) {
            PrintLine(err, "quillant-survey: option '--compare': " + error);
            return SurveyExitBadCommandLine;
        }
    }
    const BaselineComparison comparison = {files.baseline, CompareSurveys(reports[0], reports[1])};
    if (!quiet || !comparison.differences.empty()) {
        std::fputs(BaselineConsoleText(comparison).c_str(), out);
        std::fflush(out);
    }
    return comparison.differences.empty() ? SurveyExitAllMeasured : SurveyExitDiffersFromBaseline;
}
