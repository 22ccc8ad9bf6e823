// The measurement as JSON, in the pieces the Sample Positions dialog's saved file and survey.json
// share, so that both name every concept with the same key: the adapter, the mode, every probe's
// findings and the time taken.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <nlohmann/json.hpp>

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
// "multisampleQuality" and "maskable".
nlohmann::json ModeToJson(D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, const MultisampleMode& mode);

// Every probe's findings, each under its own key ("samplePositions"); not the mode, stated beside
// it, nor the time, which goes with the other timings.
nlohmann::json MeasurementToJson(const ModeMeasurement& measurement);

// Sample positions: every sample with its mask bit, position (1/16 pixel where exact, and always
// the measured interval, its ends rounded to the measuring step) and count, the texture sampling
// and the verdicts (null where one does not apply).
nlohmann::json SamplePositionsToJson(const SampleMeasurement& measurement);

// A list of samples as the positions are written, for the other probes that report positions; the
// interval ends rounded to the measuring step of a gridSize tile.
nlohmann::json SamplesToJson(const std::vector<SamplePosition>& samples, int gridSize);

// Tenths of a millisecond: as fine as a timing means anything.
double RoundedMilliseconds(double milliseconds);
