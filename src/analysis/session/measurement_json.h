// The measurement as JSON, in the pieces the Sample Positions dialog's saved file and survey.json
// share, so that both name every concept with the same key: the adapter, the mode, every probe's
// findings and the time taken.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <nlohmann/json.hpp>

#include "analysis/positions/positions_json.h"
#include "analysis/session/measurement_session.h"
#include "enumeration/adapter_description.h"

// Both documents carry it at their top level; it grows when a key changes its meaning or goes.
constexpr int kMeasurementSchemaVersion = 2;

// Keys of every object come out in alphabetical order (nlohmann::json keeps them sorted), so the
// same findings always give the same text. Enumerators are named in full, prefix and all
// ("D3DDEVTYPE_HAL", "D3DFMT_X8R8G8B8", "D3DMULTISAMPLE_4_SAMPLES"), numbers carry "Value".

// "ordinal", "description", "driver", "deviceName", "driverVersion", the ids in hexadecimal,
// "deviceIdentifier" and "desktopFormat".
nlohmann::json AdapterToJson(const AdapterDescription& adapter);

// The keys that name a mode, for the object that states it: "deviceType", "adapterFormat",
// "backBufferFormat", "multisampleType" (the name), "multisampleTypeValue" (the number),
// "multisampleQuality", "maskable" and "renderTargetFormat" (the format measured; an entry
// without it was measured in the back buffer's).
nlohmann::json ModeToJson(D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, const MultisampleMode& mode);

// Every probe's findings, each under its own key ("samplePositions", "resolve", "alphaToCoverage",
// "centroid", "antialiasOff"); not the mode, stated beside it, nor the time, which goes with the
// other timings. Read back, the mode and the times are left as they were.
nlohmann::json MeasurementToJson(const ModeMeasurement& measurement);
void to_json(nlohmann::json& out, const ModeMeasurement& measurement);
void from_json(const nlohmann::json& in, ModeMeasurement& measurement);

// The adapter and the mode read back from what AdapterToJson and ModeToJson wrote. Throws (as
// nlohmann's get() does) where a key is missing or a name is none this program writes.
AdapterDescription AdapterFromJson(const nlohmann::json& adapter);
void ModeFromJson(const nlohmann::json& entry, D3DDEVTYPE* deviceType, D3DFORMAT* adapterFormat,
                  MultisampleMode* mode);

// Tenths of a millisecond: as fine as a timing means anything.
double RoundedMilliseconds(double milliseconds);
