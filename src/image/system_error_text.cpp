// The system's own words for a failure code, as the survey and the viewer's saves report it.
#include "image/system_error_text.h"

#include <cstdio>

std::string SystemErrorText(HRESULT code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) text.assign(buffer, length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    if (text.empty()) {
        char hex[32];
        std::snprintf(hex, sizeof(hex), "error 0x%08lX", static_cast<unsigned long>(code));
        text = hex;
    }
    return text;
}
