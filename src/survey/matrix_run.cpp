// The matrix from its files to its exit code.
#include "survey/matrix_run.h"

#include <utility>

#include "image/file_replacing.h"
#include "survey/matrix_html.h"
#include "survey/matrix_markdown.h"
#include "survey/matrix_texts.h"
#include "survey/output_folder.h"
#include "survey/survey_matrix.h"
#include "survey/survey_reading.h"
#include "survey/survey_run.h"

namespace {

void PrintLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

int RunSurveyMatrix(const std::vector<std::string>& files, const std::string& outputFolder, bool quiet,
                    std::FILE* out, std::FILE* err) {
    std::vector<MatrixSurvey> surveys;
    for (const std::string& file : files) {
        MatrixSurvey survey;
        survey.file = file;
        std::string error;
        if (!LoadSurveyReport(file, &survey.report, &error)) {
            PrintLine(err, "quillant-survey: option '--matrix': " + error);
            return SurveyExitBadCommandLine;
        }
        surveys.push_back(std::move(survey));
    }
    const SurveyMatrix matrix = BuildSurveyMatrix(surveys);

    OutputFolder folder;
    std::string error;
    if (FAILED(PrepareOutputFolder(outputFolder, &folder, &error))) {
        PrintLine(err, "quillant-survey: " + error);
        return SurveyExitOutputFailed;
    }
    const std::pair<const char*, std::string> written[] = {
        {"matrix.md", MatrixMarkdown(matrix)},
        {"matrix.html", MatrixHtml(matrix)},
    };
    for (const auto& file : written) {
        const HRESULT result = WriteFileReplacing(OutputPath(folder, file.first).c_str(), file.second);
        if (FAILED(result)) {
            PrintLine(err, "quillant-survey: cannot write '" + OutputPath(folder, file.first) + "': " +
                               SystemErrorText(result));
            return SurveyExitOutputFailed;
        }
    }
    if (!quiet) {
        for (const MatrixAgreement& agreement : matrix.summary) PrintLine(out, AgreementSentence(matrix, agreement));
    }
    PrintLine(out, "matrix: " + OutputPath(folder, "matrix.html") + ", " + OutputPath(folder, "matrix.md"));
    return SurveyExitAllMeasured;
}
