// A private folder under the temporary directory for tests that write files, removed with all it
// holds when the test ends, and the small file helpers those tests share.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace test_support {

inline std::wstring WidePath(const std::string& ansi) {
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    // The extended form lets the wide functions take names longer than MAX_PATH.
    const bool absolute = wide.size() > 2 && wide[1] == L':';
    return absolute ? L"\\\\?\\" + wide : wide;
}

inline bool CreateFolder(const std::string& path) {
    return CreateDirectoryW(WidePath(path).c_str(), nullptr) != 0;
}

inline std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size()) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        for (unsigned n = GetTickCount(); root_.empty(); ++n) {
            const std::string candidate = std::string(temp) + "quillant-test-" +
                                          std::to_string(GetCurrentProcessId()) + "-" +
                                          std::to_string(n);
            if (CreateFolder(candidate)) root_ = candidate;
        }
    }
    ~ScratchFolder() { RemoveTree(WidePath(root_)); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return root_ + "\\" + name; }

    // The names directly inside the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found = {};
        HANDLE search = FindFirstFileA((root_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string root_;
};

}  // namespace test_support
