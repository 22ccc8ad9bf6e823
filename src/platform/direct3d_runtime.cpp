// The real Direct3D 9 runtime, loaded when the framework first asks for its object: the system's
// d3d9.dll, or the file the command line named.
#include "platform/platform.h"

#include <cstdio>

namespace platform {

namespace {

Direct3DLibrary library;

std::string SystemText(DWORD error) {
    char text[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof(text), nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ' ||
                          text[length - 1] == '.')) {
        --length;
    }
    char code[32];
    std::snprintf(code, sizeof(code), "error %lu", static_cast<unsigned long>(error));
    return length == 0 ? std::string(code) : std::string(text, length) + " (" + code + ")";
}

}  // namespace

void UseDirect3DLibrary(const std::string& path) {
    library = Direct3DLibrary();
    if (path.empty()) return;
    // A full path: a bare name would be looked for along the DLL search path, which finds the
    // system's d3d9.dll before a file of that name in the current folder.
    char full[MAX_PATH + 1] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
    library.requested = length > 0 && length < sizeof(full) ? std::string(full, length) : path;
}

Direct3DLibrary LoadedDirect3DLibrary() { return library; }

IDirect3D9* CreateDirect3D(UINT sdkVersion) {
    const std::string name = library.requested.empty() ? std::string("d3d9.dll") : library.requested;
    library.module = nullptr;
    library.error.clear();
    // The module stays loaded for the life of the process: the Direct3D object lives in it.
    HMODULE module = LoadLibraryExA(name.c_str(), nullptr, library.requested.empty() ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        library.error = "cannot load '" + name + "': " + SystemText(GetLastError());
        return nullptr;
    }
    library.module = module;
    using CreateFunction = IDirect3D9*(WINAPI*)(UINT);
    auto create = reinterpret_cast<CreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "Direct3DCreate9")));
    if (!create) {
        library.error = "'" + name + "' has no Direct3DCreate9: it is no Direct3D 9 implementation";
        return nullptr;
    }
    IDirect3D9* direct3d = create(sdkVersion);
    if (!direct3d) library.error = "Direct3DCreate9 of '" + name + "' gave no object";
    return direct3d;
}

}  // namespace platform
