// The D3DCREATE behaviour flags that a vertex-processing type stands for.
#pragma once

#include <windows.h>

#include "enumeration/device_enumeration.h"

DWORD BehaviorFlagsFor(VertexProcessingType vertexProcessing);
