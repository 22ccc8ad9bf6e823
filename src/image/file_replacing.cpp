// Writing a file through a temporary beside it that is renamed over the target once complete.
#include "image/file_replacing.h"

#include <cwchar>

namespace {

HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The ANSI name as the system's file functions read it (the ANSI or OEM code page, whichever
// the file functions use, never UTF-8), made absolute and given the \\?\ prefix so that names
// longer than MAX_PATH work too. Empty on failure.
std::wstring ExtendedWidePath(const char* path) {
    const UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int length = MultiByteToWideChar(codePage, 0, path, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, 0, path, -1, &wide[0], length) != length) {
        return std::wstring();
    }
    if (wide.compare(0, 4, L"\\\\?\\") == 0) return wide.c_str();

    const DWORD fullLength = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (fullLength == 0) return std::wstring();
    std::wstring full(fullLength, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), fullLength, &full[0], nullptr);
    if (written == 0 || written >= fullLength) return std::wstring();
    full.resize(written);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Creates a new, empty temporary file in the target's folder, so that the final rename stays on
// one volume and cannot leave a half-written target behind.
HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary) {
    const size_t slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 == target.size()) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    const std::wstring folder = target.substr(0, slash + 1);
    const DWORD stamp = GetTickCount();
    for (DWORD tries = 0; tries < 100; ++tries) {
        wchar_t name[64];
        std::swprintf(name, 64, L"~quillant-%lx-%lx.tmp", GetCurrentProcessId(), stamp + tries);
        temporary = folder + name;
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

struct StringContents {
    const std::string* text;
};

HRESULT WriteString(HANDLE file, void* context) {
    const std::string& text = *static_cast<StringContents*>(context)->text;
    return WriteAllToFile(file, text.data(), text.size());
}

}  // namespace

HRESULT WriteAllToFile(HANDLE file, const void* data, size_t length) {
    const BYTE* at = static_cast<const BYTE*>(data);
    while (length > 0) {
        const DWORD chunk = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(file, at, chunk, &written, nullptr) || written != chunk) {
            const DWORD error = GetLastError();
            return HRESULT_FROM_WIN32(error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
        }
        at += chunk;
        length -= chunk;
    }
    return S_OK;
}

HRESULT WriteFileReplacing(const char* path, FileContentsWriter writeContents, void* context) {
    if (path == nullptr || path[0] == '\0' || writeContents == nullptr) return E_INVALIDARG;
    const std::wstring target = ExtendedWidePath(path);
    if (target.empty()) return LastErrorResult();
    // A folder is never replaced by a file, nor is a read-only file (which Windows refuses to
    // rename over, while Wine would): fail before writing anything.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    }

    std::wstring temporary;
    HANDLE file = CreateTemporaryBeside(target, temporary);
    if (file == INVALID_HANDLE_VALUE) return LastErrorResult();
    HRESULT result = writeContents(file, context);
    if (!CloseHandle(file) && SUCCEEDED(result)) result = LastErrorResult();
    if (SUCCEEDED(result) &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        result = LastErrorResult();
    }
    if (FAILED(result)) static_cast<void>(DeleteFileW(temporary.c_str()));
    return result;
}

HRESULT WriteFileReplacing(const char* path, const std::string& contents) {
    StringContents context = {&contents};
    return WriteFileReplacing(path, WriteString, &context);
}
