// Releases a COM object held in a field and nulls the field, so that a second release is harmless.
#pragma once

template <typename Interface>
void SafeRelease(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}
