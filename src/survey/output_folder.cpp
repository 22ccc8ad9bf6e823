// Making and trying the survey's output folder.
#include "survey/output_folder.h"

#include <cstdio>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

HRESULT LastError() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The folders from the outermost missing one to path itself, outermost first.
std::vector<std::string> MissingFolders(const std::string& path) {
    std::vector<std::string> missing;
    std::string current = path;
    while (!current.empty() && GetFileAttributesA(current.c_str()) == INVALID_FILE_ATTRIBUTES) {
        missing.insert(missing.begin(), current);
        size_t cut = current.size();
        while (cut > 0 && !IsSeparator(current[cut - 1])) --cut;
        while (cut > 0 && IsSeparator(current[cut - 1])) --cut;
        // A drive ("C:") or the root ends the walk.
        if (cut == 0 || current[cut - 1] == ':') break;
        current.erase(cut);
    }
    return missing;
}

void RemoveFolders(const std::vector<std::string>& created) {
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder) {
        static_cast<void>(RemoveDirectoryA(folder->c_str()));
    }
}

}  // namespace

HRESULT PrepareOutputFolder(const std::string& path, OutputFolder* folder, std::string* error) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && IsSeparator(trimmed.back()) && trimmed[trimmed.size() - 2] != ':') {
        trimmed.pop_back();
    }
    folder->path = trimmed;

    const DWORD attributes = GetFileAttributesA(trimmed.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = "cannot write the report to '" + path + "': it is a file, not a folder";
        return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
    }

    std::vector<std::string> created;
    for (const std::string& missing : MissingFolders(trimmed)) {
        if (!CreateDirectoryA(missing.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            const HRESULT result = LastError();
            RemoveFolders(created);
            *error = "cannot create the folder '" + path + "': " + SystemErrorText(result);
            return result;
        }
        created.push_back(missing);
    }

    // Creating a file is the only sure test: a folder's read-only attribute says nothing on
    // Windows, and permissions say more than attributes anywhere.
    char probeName[64];
    std::snprintf(probeName, sizeof(probeName), "~quillant-survey-%lx.tmp",
                  static_cast<unsigned long>(GetCurrentProcessId()));
    const std::string probe = OutputPath(*folder, probeName);
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const HRESULT result = LastError();
        RemoveFolders(created);
        *error = "cannot write to the folder '" + path + "': " + SystemErrorText(result);
        return result;
    }
    CloseHandle(file);
    return S_OK;
}

std::string OutputPath(const OutputFolder& folder, const std::string& name) {
    if (folder.path.empty()) return name;
    return IsSeparator(folder.path.back()) ? folder.path + name : folder.path + "\\" + name;
}
