// The Direct3D 9 implementation as JSON, the same block in survey.json and in the Sample
// Positions dialog's saved file: "implementation" with the path asked for, the module that ran,
// its version, file size and SHA-256 and the warnings.
#pragma once

#include <nlohmann/json.hpp>

#include "enumeration/direct3d_implementation.h"

// "requested" (null for the system's d3d9.dll), "path", "wineBuiltin", "productName",
// "fileDescription", "fileVersion" (null where the module has none), "size" and "sha256" (null
// where the file is not what ran), "warnings". Not loaded, every key but "requested" and
// "warnings" is null.
nlohmann::json ImplementationToJson(const Direct3DImplementation& implementation);

// What ImplementationToJson wrote; throws (as nlohmann's get() does) where a key is missing.
Direct3DImplementation ImplementationFromJson(const nlohmann::json& in);
