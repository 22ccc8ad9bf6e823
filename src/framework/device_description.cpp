// The device text of the status lines: device type, how vertices are processed and, on a
// hardware device, the adapter's name, never longer than 89 characters.
#include <cstring>

#include "enumeration/value_table.h"
#include "framework/application_framework.h"

namespace {

const ValueText<D3DDEVTYPE> kDeviceTypeNames[] = {
    {D3DDEVTYPE_HAL, "HAL"},
    {D3DDEVTYPE_REF, "REF"},
    {D3DDEVTYPE_SW, "SW"},
};

// First match wins; a non-HAL device only simulates hardware vertex processing.
struct VertexProcessingNote {
    DWORD requiredFlags;
    const char* onHal;
    const char* elsewhere;
};

constexpr VertexProcessingNote kVertexProcessingNotes[] = {
    {D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, " (pure hw vp)", " (simulated pure hw vp)"},
    {D3DCREATE_HARDWARE_VERTEXPROCESSING, " (hw vp)", " (simulated hw vp)"},
    {D3DCREATE_MIXED_VERTEXPROCESSING, " (mixed vp)", " (simulated mixed vp)"},
    {D3DCREATE_SOFTWARE_VERTEXPROCESSING, " (sw vp)", " (sw vp)"},
};

constexpr size_t kLongestDescription = 89;

void AppendBounded(char* text, const char* addition) {
    const size_t length = std::strlen(text);
    if (length >= kLongestDescription) return;
    std::strncat(text, addition, kLongestDescription - length);
}

}  // namespace

void ApplicationFramework::BuildDeviceDescription(const AdapterInfo& adapterInfo, D3DDEVTYPE deviceType,
                                                  DWORD flags) {
    static_assert(sizeof(deviceDescription) == kLongestDescription + 1, "description holds 89 characters");
    deviceDescription[0] = '\0';
    if (const char* name = TextOf(kDeviceTypeNames, deviceType, nullptr)) AppendBounded(deviceDescription, name);
    const bool isHal = deviceType == D3DDEVTYPE_HAL;
    for (const VertexProcessingNote& note : kVertexProcessingNotes) {
        if ((flags & note.requiredFlags) == note.requiredFlags) {
            AppendBounded(deviceDescription, isHal ? note.onHal : note.elsewhere);
            break;
        }
    }
    if (isHal) {
        char adapterName[512];
        static_cast<void>(CopyStringBounded(adapterName, adapterInfo.identifier.Description, sizeof(adapterName)));
        AppendBounded(deviceDescription, ": ");
        AppendBounded(deviceDescription, adapterName);
    }
}
