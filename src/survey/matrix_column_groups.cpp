// Columns that differ only by their render-target format's name, found once for both writers.
#include "survey/matrix_column_groups.h"

#include <cctype>

#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"
#include "survey/matrix_texts.h"

namespace {

// Formats named before the count where a heading is shortened.
constexpr size_t kFormatsNamed = 3;

const char kTheFormat[] = "the format";

std::string FormatName(const SurveyMatrix& matrix, size_t column) {
    return FormatText(matrix.columns[column].mode.measurement.mode.DrawnFormat(), false);
}

bool WordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// The text with the format's name, as a whole word (R16F not in G16R16F), said as "the format",
// and "the format R16F" as "the format".
std::string WithoutFormatName(std::string text, const std::string& name) {
    if (name.empty()) return text;
    const std::string named = std::string(kTheFormat) + " ";
    size_t at = 0;
    while ((at = text.find(name, at)) != std::string::npos) {
        const size_t end = at + name.size();
        if ((at > 0 && WordCharacter(text[at - 1])) || (end < text.size() && WordCharacter(text[end]))) {
            at = end;
            continue;
        }
        const bool afterTheFormat = at >= named.size() && text.compare(at - named.size(), named.size(), named) == 0;
        const size_t from = afterTheFormat ? at - named.size() : at;
        text.replace(from, end - from, kTheFormat);
        at = from + named.size() - 1;
    }
    return text;
}

MatrixCell WithoutFormatName(const MatrixCell& cell, const std::string& name) {
    MatrixCell general = cell;
    general.text = WithoutFormatName(cell.text, name);
    for (std::string& line : general.differences) line = WithoutFormatName(line, name);
    return general;
}

// A difference that is only each format saying its own name: "not measured: the format R16F has
// no red, ..." against the same of G16R16F.
bool OnlyTheNames(const MeasurementDifference& difference, const std::string& was, const std::string& now) {
    return difference.was.is_string() && difference.now.is_string() &&
           WithoutFormatName(difference.was.get<std::string>(), was) ==
               WithoutFormatName(difference.now.get<std::string>(), now);
}

bool MeasurementsAgree(const SurveyMatrix& matrix, size_t a, size_t b) {
    const ModeReport& first = matrix.columns[a].mode;
    const ModeReport& second = matrix.columns[b].mode;
    if (HoldsMeasurement(first) != HoldsMeasurement(second)) return false;
    if (!HoldsMeasurement(first)) return true;
    const std::string firstName = FormatName(matrix, a), secondName = FormatName(matrix, b);
    for (const MeasurementModule& module : MeasurementModules()) {
        // Both ways: a tolerance need not be symmetric.
        DifferenceList there, back;
        module.compare(first.measurement, second.measurement, &there);
        module.compare(second.measurement, first.measurement, &back);
        for (const MeasurementDifference& d : there.Items()) {
            if (!OnlyTheNames(d, firstName, secondName)) return false;
        }
        for (const MeasurementDifference& d : back.Items()) {
            if (!OnlyTheNames(d, secondName, firstName)) return false;
        }
    }
    return true;
}

// Whether the two columns' cells would be drawn the same, a mark and what it says included, each
// column's own format's name aside.
bool CellsAlike(const SurveyMatrix& matrix, const MatrixRow& row, size_t first, size_t second) {
    const MatrixCell a = WithoutFormatName(row.cells[first], FormatName(matrix, first));
    const MatrixCell b = WithoutFormatName(row.cells[second], FormatName(matrix, second));
    if (a.present != b.present || a.differs != b.differs || a.differences != b.differences) return false;
    if (a.differs && DiffersText(matrix, a) != DiffersText(matrix, b)) return false;
    return CellWords(row, a) == CellWords(row, b);
}

bool ColumnsAlike(const SurveyMatrix& matrix, size_t a, size_t b) {
    const MatrixColumn& first = matrix.columns[a];
    const MatrixColumn& second = matrix.columns[b];
    if (first.implementation != second.implementation || first.present != second.present) return false;
    if (ColumnStatusText(first) != ColumnStatusText(second)) return false;
    if (first.present && !MeasurementsAgree(matrix, a, b)) return false;
    for (const MatrixRow& row : matrix.rows) {
        if (!CellsAlike(matrix, row, a, b)) return false;
    }
    return true;
}

}  // namespace

std::vector<MatrixColumnGroup> GroupedColumns(const SurveyMatrix& matrix, const std::vector<size_t>& columns) {
    std::vector<MatrixColumnGroup> groups;
    for (size_t c : columns) {
        size_t at = 0;
        while (at < groups.size() && !ColumnsAlike(matrix, groups[at].columns.front(), c)) ++at;
        if (at == groups.size()) groups.emplace_back();
        groups[at].columns.push_back(c);
    }
    return groups;
}

MatrixCell GroupCell(const SurveyMatrix& matrix, const MatrixColumnGroup& group, const MatrixRow& row) {
    const size_t first = group.columns.front();
    if (group.columns.size() == 1) return row.cells[first];
    return WithoutFormatName(row.cells[first], FormatName(matrix, first));
}

std::string GroupFormatsText(const SurveyMatrix& matrix, const MatrixColumnGroup& group, bool full) {
    const size_t count = group.columns.size();
    std::string text;
    for (size_t i = 0; i < count && (full || i < kFormatsNamed); ++i) {
        text += (i == 0 ? "" : ", ") + FormatName(matrix, group.columns[i]);
    }
    if (count == 1) return text;
    return text + (full || count <= kFormatsNamed ? " (" : " ... (") + std::to_string(count) + " formats)";
}
