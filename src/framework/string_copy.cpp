// Bounded, always-terminated string copy: every fixed-size text of the program is written with it.
#include <cstring>

#include "framework/application_framework.h"

HRESULT CopyStringBounded(char* destination, const char* source, int size) {
    if (!destination || !source || size < 1) return E_INVALIDARG;
    std::strncpy(destination, source, static_cast<size_t>(size));
    destination[size - 1] = '\0';
    return S_OK;
}
