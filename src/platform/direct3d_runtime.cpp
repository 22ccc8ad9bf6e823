// The real Direct3D 9 runtime, loaded when the framework first asks for its object.
#include "platform/platform.h"

namespace platform {

IDirect3D9* CreateDirect3D(UINT sdkVersion) {
    // The module stays loaded for the life of the process: the Direct3D object lives in it.
    HMODULE module = LoadLibraryA("d3d9.dll");
    if (!module) return nullptr;
    using CreateFunction = IDirect3D9*(WINAPI*)(UINT);
    auto create = reinterpret_cast<CreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "Direct3DCreate9")));
    if (!create) return nullptr;
    return create(sdkVersion);
}

}  // namespace platform
