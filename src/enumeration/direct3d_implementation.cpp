// Reading what the loaded d3d9 module is: its image's marker and version resource, the file's
// digest, and the warnings where it is not the file that was asked for.
#include "enumeration/direct3d_implementation.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "enumeration/adapter_description.h"
#include "enumeration/file_digest.h"

namespace {

std::string Utf8(const wchar_t* text, size_t length) {
    if (length == 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

std::string AnsiPathToUtf8(const std::string& path) { return AnsiToUtf8(path.c_str(), path.size()); }

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length <= MAX_PATH ? length : 0);
}

// One string of the version resource's first language, or of US English where it names none.
std::string VersionString(std::vector<unsigned char>& resource, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    Translation chosen = {0x0409, 1200};
    if (VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                       &bytes) &&
        bytes >= sizeof(Translation)) {
        chosen = translations[0];
    }
    wchar_t key[96];
    std::swprintf(key, sizeof(key) / sizeof(key[0]), L"\\StringFileInfo\\%04x%04x\\%ls", chosen.language,
                  chosen.codePage, name);
    wchar_t* value = nullptr;
    UINT characters = 0;
    if (!VerQueryValueW(resource.data(), key, reinterpret_cast<void**>(&value), &characters) || value == nullptr) {
        return std::string();
    }
    // The count may include the terminator.
    return Utf8(value, std::wcslen(value) < characters ? std::wcslen(value) : characters);
}

// The version resource of the loaded image itself (not of the file its path names).
void ReadVersionResource(HMODULE module, Direct3DImplementation* implementation) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // VS_VERSION_INFO, RT_VERSION
    if (found == nullptr) return;
    const DWORD bytes = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr || bytes == 0) return;
    // VerQueryValue works on a copy the caller owns, with room behind it as GetFileVersionInfo gives.
    std::vector<unsigned char> resource(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + bytes);
    resource.resize(static_cast<size_t>(bytes) * 2);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedBytes = 0;
    if (VerQueryValueW(resource.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedBytes) && fixed != nullptr &&
        fixedBytes >= sizeof(VS_FIXEDFILEINFO) && fixed->dwSignature == 0xFEEF04BD) {
        char version[48];
        std::snprintf(version, sizeof(version), "%lu.%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned long>(LOWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned long>(HIWORD(fixed->dwFileVersionLS)),
                      static_cast<unsigned long>(LOWORD(fixed->dwFileVersionLS)));
        implementation->fileVersion = version;
    }
    implementation->productName = VersionString(resource, L"ProductName");
    implementation->fileDescription = VersionString(resource, L"FileDescription");
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                                  b.c_str(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

bool HasWineBuiltinMarker(const unsigned char* image, size_t size) {
    const size_t length = sizeof(kWineBuiltinMarker) - 1;
    return image != nullptr && size >= kWineBuiltinMarkerOffset + length &&
           std::memcmp(image + kWineBuiltinMarkerOffset, kWineBuiltinMarker, length) == 0;
}

bool FileHasWineBuiltinMarker(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char head[kWineBuiltinMarkerOffset + sizeof(kWineBuiltinMarker)] = {};
    DWORD read = 0;
    const BOOL good = ReadFile(file, head, sizeof(head), &read, nullptr);
    CloseHandle(file);
    return good && HasWineBuiltinMarker(head, read);
}

std::string Direct3DLibraryProblem(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return "there is no such file";
        return "it cannot be read (error " + std::to_string(error) + ")";
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return "it is a folder, not a d3d9.dll";
    return std::string();
}

Direct3DImplementation DescribeDirect3DImplementation(const std::string& requested, HMODULE module) {
    Direct3DImplementation implementation;
    implementation.requested = AnsiPathToUtf8(requested);
    if (module == nullptr) return implementation;
    implementation.loaded = true;
    const std::string path = ModulePath(module);
    implementation.path = AnsiPathToUtf8(path);
    // The headers' page is mapped as the file holds it, the marker within it.
    implementation.wineBuiltin = HasWineBuiltinMarker(reinterpret_cast<const unsigned char*>(module),
                                                      kWineBuiltinMarkerOffset + sizeof(kWineBuiltinMarker));
    ReadVersionResource(module, &implementation);

    // A file whose marker differs from the image's is not what ran: Wine's builtin answers with
    // the path it was asked for.
    const bool fileRan = implementation.wineBuiltin == FileHasWineBuiltinMarker(path);
    std::string error;
    if (fileRan) {
        implementation.fileKnown = FileSha256(path, &implementation.sha256, &implementation.size, &error);
        if (!implementation.fileKnown) {
            implementation.warnings.push_back("the size and SHA-256 of the loaded module's file are not given: " +
                                              AnsiPathToUtf8(error));
        }
    }
    const bool builtinInstead = !requested.empty() && implementation.wineBuiltin && !FileHasWineBuiltinMarker(requested);
    if (builtinInstead) {
        implementation.warnings.insert(
            implementation.warnings.begin(),
            "asked for '" + implementation.requested +
                "', but Wine's builtin d3d9 ran (it answers with that path all the same): Wine loads a native "
                "d3d9.dll only when told to, with WINEDLLOVERRIDES=d3d9=n,b in the environment");
    } else if (!requested.empty() && !SamePath(requested, path)) {
        implementation.warnings.insert(implementation.warnings.begin(),
                                       "asked for '" + implementation.requested + "', but '" + implementation.path +
                                           "' ran");
    }
    if (!fileRan && !builtinInstead) {
        implementation.warnings.push_back("the file '" + implementation.path +
                                          "' is not the module that ran: its size and SHA-256 are not given");
    }
    return implementation;
}

std::string ImplementationText(const Direct3DImplementation& implementation) {
    if (!implementation.loaded) {
        return implementation.requested.empty() ? std::string("no d3d9.dll loaded")
                                                : "'" + implementation.requested + "' not loaded";
    }
    std::string text = implementation.path + (implementation.wineBuiltin ? " (Wine builtin)" : "") + ":";
    std::string details;
    const auto add = [&details](const std::string& part) {
        if (!part.empty()) details += (details.empty() ? " " : ", ") + part;
    };
    add(implementation.productName);
    add(implementation.fileDescription);
    add(implementation.fileVersion.empty() ? std::string() : "version " + implementation.fileVersion);
    if (implementation.fileKnown) {
        add(std::to_string(implementation.size) + " bytes");
        add("SHA-256 " + implementation.sha256);
    } else {
        add("size and SHA-256 not known");
    }
    return text + (details.empty() ? " no version resource" : details);
}
