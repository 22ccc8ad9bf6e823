// Reading survey.json back and naming what it holds.
#include "survey/survey_document.h"

#include <windows.h>

#include "survey/output_folder.h"

namespace {

using nlohmann::json;

// Survey files are small; a file far larger than any survey is not read whole.
constexpr DWORD kLargestSurveyFile = 64u << 20;

bool ReadWholeFile(const std::string& path, std::string* contents, std::string* error) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        *error = "cannot read '" + path + "': " + SystemErrorText(HRESULT_FROM_WIN32(code));
        return false;
    }
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok && size.QuadPart > kLargestSurveyFile) {
        CloseHandle(file);
        *error = "'" + path + "' is not a survey: far too large for one";
        return false;
    }
    contents->assign(ok ? static_cast<size_t>(size.QuadPart) : 0, '\0');
    DWORD read = 0;
    if (ok && !contents->empty()) {
        ok = ReadFile(file, &(*contents)[0], static_cast<DWORD>(contents->size()), &read, nullptr) != 0 &&
             read == contents->size();
    }
    const DWORD code = GetLastError();
    CloseHandle(file);
    if (!ok) *error = "cannot read '" + path + "': " + SystemErrorText(HRESULT_FROM_WIN32(code));
    return ok;
}

std::string TextOf(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_null()) return "?";
    return value.dump();
}

}  // namespace

bool IsSurveyDocument(const json& document) {
    return document.is_object() && document.value("program", json()) == kSurveyProgramName &&
           document.contains("modes") && document["modes"].is_array();
}

std::string SurveyDocumentProblem(const json& document) {
    if (!IsSurveyDocument(document)) return "is not a survey (no \"program\": \"quillant-survey\" with its modes)";
    const json version = document.value("schemaVersion", json());
    if (version != kSurveySchemaVersion) {
        const std::string found = version.is_null() ? std::string("an earlier one without \"schemaVersion\"")
                                                    : "schema version " + version.dump();
        return "is a survey of " + found + "; this quillant-survey reads schema version " +
               std::to_string(kSurveySchemaVersion) + " (run the survey again to make one)";
    }
    if (!document.contains("adapters") || !document["adapters"].is_array()) return "is a survey without its adapters";
    for (const json& mode : document["modes"]) {
        if (!mode.is_object() || !mode.contains("deviceType") || !mode.contains("multisampleQuality")) {
            return "is a survey with a mode entry that does not say which mode it is";
        }
    }
    return std::string();
}

bool ReadJsonFile(const std::string& path, json* document, std::string* error) {
    std::string contents;
    if (!ReadWholeFile(path, &contents, error)) return false;
    *document = json::parse(contents, nullptr, false);
    if (document->is_discarded()) {
        *error = "'" + path + "' is not a survey: it is not JSON";
        return false;
    }
    return true;
}

bool LoadSurveyDocument(const std::string& path, json* document, std::string* error) {
    json parsed;
    if (!ReadJsonFile(path, &parsed, error)) return false;
    const std::string problem = SurveyDocumentProblem(parsed);
    if (!problem.empty()) {
        *error = "'" + path + "' " + problem;
        return false;
    }
    *document = std::move(parsed);
    return true;
}

std::string ModeLabelOf(const json& mode) {
    if (!mode.is_object()) return "?";
    const json adapter = mode.value("adapterOrdinal", json(0));
    const std::string prefix = adapter == 0 ? std::string() : "adapter " + TextOf(adapter) + " ";
    // The label the console and survey.md give a mode: device type and format without their prefixes.
    const auto shortName = [](std::string text, const char* prefixName) {
        const std::string cut = prefixName;
        return text.compare(0, cut.size(), cut) == 0 ? text.substr(cut.size()) : text;
    };
    return prefix + shortName(TextOf(mode.value("deviceType", json())), "D3DDEVTYPE_") + " " +
           shortName(TextOf(mode.value("backBufferFormat", json())), "D3DFMT_") + " " +
           TextOf(mode.value("multisampleType", json())) + " q" + TextOf(mode.value("multisampleQuality", json()));
}

std::string AdapterDescriptionOf(const json& document, const json& mode) {
    const json ordinal = mode.value("adapterOrdinal", json());
    const json& adapters = document.contains("adapters") ? document["adapters"] : json::array();
    if (!adapters.is_array()) return std::string();
    for (const json& adapter : adapters) {
        if (adapter.is_object() && adapter.value("ordinal", json()) == ordinal) {
            return TextOf(adapter.value("description", json("")));
        }
    }
    return std::string();
}
