// SHA-256 by BCrypt: the file read in pieces, so that a large file needs no large buffer.
#include "enumeration/file_digest.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <vector>

namespace {

// BCrypt's NTSTATUS results: 0 and above is success.
bool Succeeded(NTSTATUS status) { return status >= 0; }

std::string StatusText(const char* call, NTSTATUS status) {
    char text[80];
    std::snprintf(text, sizeof(text), "%s failed (status 0x%08lX)", call, static_cast<unsigned long>(status));
    return text;
}

std::string LastErrorText(const std::string& path) {
    char code[32];
    std::snprintf(code, sizeof(code), "error %lu", static_cast<unsigned long>(GetLastError()));
    return "cannot read '" + path + "' (" + code + ")";
}

// The algorithm, the hash and the file, closed whichever step fails.
struct DigestHandles {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    ~DigestHandles() {
        if (hash) BCryptDestroyHash(hash);
        if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

}  // namespace

bool FileSha256(const std::string& path, std::string* digest, unsigned long long* size, std::string* error) {
    DigestHandles handles;
    handles.file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handles.file == INVALID_HANDLE_VALUE) {
        *error = LastErrorText(path);
        return false;
    }
    NTSTATUS status = BCryptOpenAlgorithmProvider(&handles.algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (!Succeeded(status)) {
        *error = StatusText("BCryptOpenAlgorithmProvider(SHA256)", status);
        return false;
    }
    status = BCryptCreateHash(handles.algorithm, &handles.hash, nullptr, 0, nullptr, 0, 0);
    if (!Succeeded(status)) {
        *error = StatusText("BCryptCreateHash", status);
        return false;
    }
    std::vector<unsigned char> buffer(1u << 16);
    unsigned long long total = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(handles.file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            *error = LastErrorText(path);
            return false;
        }
        if (read == 0) break;
        total += read;
        status = BCryptHashData(handles.hash, buffer.data(), read, 0);
        if (!Succeeded(status)) {
            *error = StatusText("BCryptHashData", status);
            return false;
        }
    }
    unsigned char value[32] = {};
    status = BCryptFinishHash(handles.hash, value, sizeof(value), 0);
    if (!Succeeded(status)) {
        *error = StatusText("BCryptFinishHash", status);
        return false;
    }
    static const char kHex[] = "0123456789abcdef";
    digest->clear();
    for (unsigned char byte : value) {
        *digest += kHex[byte >> 4];
        *digest += kHex[byte & 15];
    }
    *size = total;
    return true;
}
