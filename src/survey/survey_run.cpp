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
#include "survey/survey_adapters.h"
#include "survey/survey_document.h"
#include "survey/survey_html.h"
#include "survey/survey_json.h"
#include "survey/survey_markdown.h"
#include "survey/survey_modes.h"
#include "survey/survey_reading.h"
#include "survey/worker_launcher.h"
#include "survey/worker_outcome.h"
#include "image/file_replacing.h"
#include "platform/platform.h"

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

int RunSurvey(const SurveyOptions& options, std::FILE* out, std::FILE* err, SurveyReport* reportOut,
              WorkerLauncher* launcher) {
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

    // A d3d9.dll asked for that is not there is a bad value, not a missing Direct3D 9.
    if (!options.direct3dLibrary.empty()) {
        const std::string problem = Direct3DLibraryProblem(options.direct3dLibrary);
        if (!problem.empty()) {
            PrintLine(err, "quillant-survey: option '--d3d9': cannot load '" + options.direct3dLibrary + "': " + problem);
            return SurveyExitBadCommandLine;
        }
    }
    platform::UseDirect3DLibrary(options.direct3dLibrary);

    // The survey itself makes no device: every mode's is made in a worker, so that whatever the
    // implementation does there, this process lives to report it.
    const std::string noDisplay = MissingDisplayText();
    SurveyAdapters adapters;
    std::string startError = noDisplay;
    if (!noDisplay.empty() || FAILED(adapters.Start(&startError))) {
        PrintLine(err, "quillant-survey: Direct3D 9 could not be started: " + startError);
        return SurveyExitNotStarted;
    }

    // What ran, named in every report; what was asked for and did not run is said at once.
    const platform::Direct3DLibrary library = platform::LoadedDirect3DLibrary();
    const Direct3DImplementation implementation = DescribeDirect3DImplementation(library.requested, library.module);
    for (const std::string& warning : implementation.warnings) PrintLine(err, "quillant-survey: warning: " + warning);

    const UINT adapterCount = adapters.direct3d->GetAdapterCount();
    if (options.adapter >= 0 && static_cast<UINT>(options.adapter) >= adapterCount) {
        PrintLine(err, "quillant-survey: option '--adapter': there is no adapter " + std::to_string(options.adapter) +
                           " (" + AdapterCountText(adapterCount) + ")");
        std::fputs(SurveyUsageHint(), err);
        return SurveyExitBadCommandLine;
    }

    const SurveyPlan plan =
        PlanSurvey(adapters.enumeration, options, ReadDesktopMode, adapters.direct3d, Direct3DOffersRenderTarget);

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
    report.implementation = implementation;
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
    // The three files, replaced whole each time: what was measured so far stays readable however
    // the survey ends. The name of a file that could not be written, else empty.
    std::string unwritten;
    HRESULT writeFailure = S_OK;
    const auto writeReport = [&](const nlohmann::json& document, const std::string& markdown, const std::string& html) {
        const std::pair<const char*, std::string> files[] = {
            {"survey.json", SurveyJsonText(document)},
            {"survey.md", markdown},
            {"survey.html", html},
        };
        for (const auto& file : files) {
            writeFailure = WriteFileReplacing(OutputPath(folder, file.first).c_str(), file.second);
            if (FAILED(writeFailure)) {
                unwritten = file.first;
                return false;
            }
        }
        return true;
    };
    const auto writeSoFar = [&]() {
        const std::string markdown =
            SurveyMarkdown(report) + "\n**Incomplete:** " + std::to_string(report.modes.size()) + " of " +
            std::to_string(plan.modes.size()) + " modes measured when this was written; the survey was still "
            "measuring, or was stopped.\n";
        return writeReport(SurveyToJson(report, false), markdown, SurveyHtml(report, nullptr, false));
    };

    ProcessWorkerLauncher processes;
    WorkerLauncher& workers = launcher ? *launcher : processes;
    if (!plan.modes.empty() && !writeSoFar()) return outputFailed(unwritten, writeFailure);
    size_t failed = 0, implementationFailed = 0;
    for (size_t i = 0; i < plan.modes.size();) {
        // One worker for a device mode and every format it is measured in, on its one device.
        const SurveyMode& planned = plan.modes[i];
        size_t formats = 1;
        while (i + formats < plan.modes.size() && SameDeviceMode(plan.modes[i + formats], planned)) ++formats;
        WorkerJob job;
        job.number = i + 1;
        job.adapterOrdinal = planned.adapterInfo->adapterOrdinal;
        job.deviceType = planned.deviceInfo->deviceType;
        job.multisampleType = planned.multisample.type;
        job.multisampleQuality = planned.multisample.quality;
        for (size_t f = 0; f < formats; ++f) job.formats.push_back(plan.modes[i + f].multisample.renderTargetFormat);
        // The first picture the worker writes: the one a folder that takes no file fails on.
        const std::string pictureName = PictureFileName(ReportForMode(planned));
        job.pictureFolder = folder.path;
        job.direct3dLibrary = library.requested;
        // The time limit is each format's: a worker measuring fifteen formats is not hung at 60 s.
        const double timeout = options.modeTimeoutSeconds * static_cast<double>(formats);
        const WorkerEnd end = workers.Run(job, timeout);
        const std::vector<std::string> entries = WorkerResultLines(end.result);
        for (size_t f = 0; f < formats; ++f, ++i) {
            ModeReport mode = ReportForMode(plan.modes[i]);
            // A format the worker finished stands however the worker ended afterwards; the others
            // share its end.
            WorkerEnd formatEnd = end;
            if (f < entries.size()) {
                formatEnd.kind = WorkerEnd::Kind::Exited;
                formatEnd.result = entries[f];
            } else {
                formatEnd.result.clear();
                // The worker's time is told once, with the first format it did not finish.
                if (f > entries.size()) formatEnd.milliseconds = 0.0;
            }
            HRESULT outputFailure = S_OK;
            ApplyWorkerEnd(formatEnd, timeout, &mode, &outputFailure);
            if (FAILED(outputFailure)) return outputFailed(pictureName, outputFailure);
            if (!mode.measured) ++failed;
            if (ImplementationFailed(mode)) ++implementationFailed;
            // Quiet, the line of a failed mode or a missing picture still goes out, as an error.
            if (!options.quiet) {
                PrintLine(out, ProgressLine(i + 1, plan.modes.size(), mode));
            } else if (!mode.measured || !mode.pictureError.empty()) {
                PrintLine(err, ProgressLine(i + 1, plan.modes.size(), mode));
            }
            report.modes.push_back(mode);
        }
        if (i < plan.modes.size() && !writeSoFar()) return outputFailed(unwritten, writeFailure);
    }
    report.totalMilliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    nlohmann::json document = SurveyToJson(report, true);
    std::string markdown = SurveyMarkdown(report);
    BaselineComparison baseline;
    if (!options.baselineFile.empty()) {
        // Compared as its survey.json reads back, rounded as the baseline's file was.
        SurveyReport written = report;
        std::string unreadable;
        ReadSurveyReport(document, &written, &unreadable);
        baseline = {options.baselineFile, CompareSurveys(baselineReport, written, options.matchAdapters),
                    AdaptersNote(baselineReport, written, options.matchAdapters)};
        document["baseline"] = BaselineToJson(baseline);
        markdown += BaselineMarkdown(baseline);
    }
    if (!writeReport(document, markdown, SurveyHtml(report, options.baselineFile.empty() ? nullptr : &baseline))) {
        return outputFailed(unwritten, writeFailure);
    }
    const std::vector<std::string> removed = RemoveEarlierPictures(folder, earlierPictures, report);

    if (!options.quiet) {
        std::fputs("\n", out);
        std::fputs(SummaryTable(report).c_str(), out);
        PrintLine(out, "Direct3D 9: " + ImplementationText(report.implementation));
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
    if (implementationFailed > 0) {
        PrintLine(err, "quillant-survey: the implementation failed in " + std::to_string(implementationFailed) +
                           (implementationFailed == 1 ? " mode" : " modes") + " (see its line above and the report)");
    }
    if (reportOut) *reportOut = report;
    if (implementationFailed > 0) return SurveyExitImplementationFailed;
    if (failed > 0 || plan.modes.empty()) return SurveyExitModeFailed;
    return baseline.differences.empty() ? SurveyExitAllMeasured : SurveyExitDiffersFromBaseline;
}

int RunSurveyComparison(const SurveyComparisonFiles& files, bool quiet, std::FILE* out, std::FILE* err,
                        bool matchAdapters) {
    SurveyReport reports[2];
    const std::string* paths[2] = {&files.baseline, &files.survey};
    for (int i = 0; i < 2; ++i) {
        std::string error;
        if (!LoadSurveyReport(*paths[i], &reports[i], &error)) {
            PrintLine(err, "quillant-survey: option '--compare': " + error);
            return SurveyExitBadCommandLine;
        }
    }
    const BaselineComparison comparison = {files.baseline, CompareSurveys(reports[0], reports[1], matchAdapters),
                                           AdaptersNote(reports[0], reports[1], matchAdapters)};
    if (!quiet || !comparison.differences.empty()) {
        std::fputs(BaselineConsoleText(comparison).c_str(), out);
        std::fflush(out);
    }
    return comparison.differences.empty() ? SurveyExitAllMeasured : SurveyExitDiffersFromBaseline;
}
