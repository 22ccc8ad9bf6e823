// Vertex-processing type to D3DCREATE behaviour flags, for device creation and the enumeration's
// confirmation callback.
#include "framework/behavior_flags.h"

#include <d3d9.h>

namespace {

struct VertexProcessingFlags {
    VertexProcessingType type;
    DWORD flags;
};

constexpr VertexProcessingFlags kBehaviorFlags[] = {
    {SOFTWARE_VP, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {MIXED_VP, D3DCREATE_MIXED_VERTEXPROCESSING},
    {HARDWARE_VP, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {PURE_HARDWARE_VP, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE},
};

}  // namespace

DWORD BehaviorFlagsFor(VertexProcessingType vertexProcessing) {
    for (const VertexProcessingFlags& entry : kBehaviorFlags) {
        if (entry.type == vertexProcessing) return entry.flags;
    }
    return 0;
}
