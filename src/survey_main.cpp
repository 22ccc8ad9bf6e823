// quillant-survey: every multisample mode of every adapter measured in one run.
#include <cstdio>
#include <string>
#include <vector>

#include "survey/matrix_run.h"
#include "survey/survey_document.h"
#include "survey/survey_options.h"
#include "survey/survey_run.h"
#include "survey/survey_worker.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The survey starts itself again to measure each mode in a process of its own.
    if (IsWorkerCommandLine(arguments)) return RunSurveyWorker(arguments);
    const ParsedSurveyOptions parsed = ParseSurveyOptions(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "quillant-survey: %s\n", parsed.error.c_str());
        std::fputs(SurveyUsageHint(), stderr);
        return SurveyExitBadCommandLine;
    }
    if (parsed.showHelp) {
        std::fputs(SurveyUsage(), stdout);
        return 0;
    }
    if (parsed.showVersion) {
        std::printf("%s %s (survey.json schema version %d)\n", kSurveyProgramName, kSurveyProgramVersion,
                    kSurveySchemaVersion);
        return 0;
    }
    if (parsed.matrix) {
        return RunSurveyMatrix(parsed.matrixFiles, parsed.options.outputFolder, parsed.options.quiet, stdout, stderr);
    }
    if (parsed.compare) {
        return RunSurveyComparison(parsed.compareFiles, parsed.options.quiet, stdout, stderr,
                                   parsed.options.matchAdapters);
    }
    return RunSurvey(parsed.options, stdout, stderr);
}
