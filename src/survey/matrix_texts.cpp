// The matrix's shared words.
#include "survey/matrix_texts.h"

#include "enumeration/value_names.h"
#include "survey/survey_modes.h"

namespace {

std::string Modes(size_t count) { return std::to_string(count) + (count == 1 ? " mode" : " modes"); }

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

const char kMatrixComparisonText[] =
    "Modes are paired by device type, formats, multisample type and quality, whatever their adapters are called. "
    "In each mode, every measurement is compared with the result most implementations share (the first "
    "column's where none has more), within the measurement's own tolerance: a marked cell differs from it, "
    "an empty one was not measured there.";

const std::vector<std::string>& ColumnHeadingNames() {
    static const std::vector<std::string> names = {"Implementation", "Survey",  "Adapter",
                                                   "Device type",    "Multisample type", "Quality",
                                                   "Render-target format", "Status"};
    return names;
}

std::vector<std::string> ColumnHeadings(const SurveyMatrix& matrix, const MatrixColumn& column) {
    const MatrixImplementation& implementation = matrix.implementations[column.implementation];
    const ModeReport& mode = column.mode;
    return {implementation.name,
            implementation.file,
            ColumnAdapterText(matrix, column),
            ShortDeviceTypeText(mode.deviceType),
            mode.measurement.mode.TypeName(),
            std::to_string(mode.measurement.mode.quality),
            FormatText(mode.measurement.mode.format, false),
            ColumnStatusText(column)};
}

std::string AgreementText(const MatrixAgreement& agreement, size_t implementation) {
    const size_t shared = agreement.shared[implementation];
    const std::vector<std::string>& differing = agreement.differing[implementation];
    if (shared == 0) return "no mode shared with another implementation";
    if (differing.empty()) return "agrees in " + Modes(shared);
    return "differs in " + std::to_string(differing.size()) + " of " + Modes(shared) + ": " + Joined(differing);
}

std::string AgreementSentence(const SurveyMatrix& matrix, const MatrixAgreement& agreement) {
    std::vector<std::string> agree, differ;
    for (size_t i = 0; i < matrix.implementations.size(); ++i) {
        if (agreement.shared[i] == 0) continue;
        (agreement.differing[i].empty() ? agree : differ).push_back(matrix.implementations[i].name);
    }
    const std::string title = agreement.measurement + ": ";
    if (agree.empty() && differ.empty()) return title + "no mode was measured by more than one implementation.";
    if (differ.empty()) return title + "every implementation agrees in every mode they share.";
    std::string sentence = title + Joined(differ) + (differ.size() == 1 ? " differs" : " differ");
    if (!agree.empty()) sentence += " from " + Joined(agree);
    return sentence + " in at least one mode.";
}

std::string DiffersText(const SurveyMatrix& matrix, const MatrixCell& cell) {
    return "differs from " + matrix.implementations[matrix.columns[cell.reference].implementation].name;
}
