// survey.json read back: a file checked to be a survey of the schema this program writes, and the
// texts that name its adapters and modes. survey.html works on this document; the comparison
// reads it into a report (survey_reading.h).
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Written into every survey.json as "schemaVersion"; raised whenever a key is renamed or its
// meaning changes, so that a reader never compares different things under one name.
constexpr int kSurveySchemaVersion = 2;
constexpr char kSurveyProgramName[] = "quillant-survey";
constexpr char kSurveyProgramVersion[] = "5.2";

// Reads path (an ANSI file name) as a survey of this schema. On failure error holds one line:
// the file cannot be read (with the system's reason), is not JSON, is not a survey, or is a
// survey of another schema version.
bool LoadSurveyDocument(const std::string& path, nlohmann::json* document, std::string* error);

// Reads and parses a JSON file without asking what it holds; error as above.
bool ReadJsonFile(const std::string& path, nlohmann::json* document, std::string* error);

// Why a parsed document is not a survey this program can compare; empty when it is one.
std::string SurveyDocumentProblem(const nlohmann::json& document);

// Whether a parsed document was written by the survey at all, whatever its schema version.
bool IsSurveyDocument(const nlohmann::json& document);

// A mode entry's label as the console prints it: "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0",
// after "adapter N " where the adapter is not the first.
std::string ModeLabelOf(const nlohmann::json& mode);

// The description of the adapter a mode entry belongs to; empty where the document has none.
std::string AdapterDescriptionOf(const nlohmann::json& document, const nlohmann::json& mode);
