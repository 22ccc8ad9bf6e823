// Releases a COM object held in a field and nulls the field, so that no path releases it twice.
#pragma once

template <typename Interface>
inline void SafeRelease(Interface*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}
