// The Direct3D 9 implementation the process runs on, as every report names it: the module's path,
// its version resource, the file's size and SHA-256, and whether Wine's builtin d3d9 ran (Wine
// loads its own for a full path unless told otherwise, and then still answers with that path).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

struct Direct3DImplementation {
    std::string requested;  // the file asked for (--d3d9 FILE), UTF-8; empty for the system's d3d9.dll
    bool loaded = false;    // false: no module at all, and nothing below is known
    std::string path;       // the module's file as the system names it, UTF-8
    bool wineBuiltin = false;  // the loaded image carries Wine's builtin marker
    // The module's own version resource: what ran, even where its path names another file.
    std::string productName;      // "DXVK", "Wine"; empty where the resource has none
    std::string fileDescription;  // "Direct3D 9 Runtime", "Wine Direct3D"
    std::string fileVersion;      // "10.0.17763.1", from the resource's fixed part
    // The file at path, where it is the code that ran: not so when Wine's builtin ran in place of
    // a native file asked for, or when the file cannot be read.
    bool fileKnown = false;
    unsigned long long size = 0;
    std::string sha256;  // lowercase hexadecimal
    // What ran is not what was asked for, or cannot be told: each a sentence that says why.
    std::vector<std::string> warnings;
};

// The text Wine puts at offset 0x40 of every builtin DLL, in the DOS header's stub.
constexpr char kWineBuiltinMarker[] = "Wine builtin DLL";
constexpr size_t kWineBuiltinMarkerOffset = 0x40;

// Whether the first size bytes of an image (or of a file) carry the marker.
bool HasWineBuiltinMarker(const unsigned char* image, size_t size);
// The same for a file's first bytes; false where it cannot be read.
bool FileHasWineBuiltinMarker(const std::string& path);

// Why path (ANSI) cannot be the d3d9.dll to load, a few words ("there is no such file", "it is a
// folder, not a d3d9.dll"); empty where it is a file. Checked before loading: Wine loads its
// builtin d3d9 for a full path it cannot find.
std::string Direct3DLibraryProblem(const std::string& path);

// Describes module (null where nothing was loaded); requested is the ANSI path asked for, empty
// for the system's d3d9.dll.
Direct3DImplementation DescribeDirect3DImplementation(const std::string& requested, HMODULE module);

// One line: "C:\windows\system32\d3d9.dll (Wine builtin): Wine, Wine Direct3D, version 5.3.1.904,
// 1839425 bytes, SHA-256 ec5a...".
std::string ImplementationText(const Direct3DImplementation& implementation);
