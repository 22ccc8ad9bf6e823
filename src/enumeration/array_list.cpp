// The growable list of the enumeration tree: one heap block, doubled when full, never shrunk.
#include "enumeration/array_list.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr UINT kFirstCapacity = 16;

}  // namespace

ArrayList::ArrayList(ElementStorage storage, UINT elementSize)
    : storage(storage),
      // A pointer list holds pointer values whatever size its creator had in mind.
      elementSize(storage == StorePointers ? static_cast<UINT>(sizeof(void*)) : elementSize) {}

ArrayList::~ArrayList() { delete[] elements; }

HRESULT ArrayList::Append(const void* item) {
    if (elementSize == 0) return E_FAIL;

    if (elements == nullptr || capacity < count + 1) {
        if (capacity > UINT_MAX / 2) return E_OUTOFMEMORY;
        const UINT newCapacity = capacity == 0 ? kFirstCapacity : capacity * 2;
        BYTE* block = new (std::nothrow) BYTE[static_cast<size_t>(newCapacity) * elementSize];
        if (block == nullptr) return E_OUTOFMEMORY;
        if (elements != nullptr) {
            std::memcpy(block, elements, static_cast<size_t>(count) * elementSize);
            delete[] elements;
        }
        elements = block;
        capacity = newCapacity;
    }

    BYTE* slot = elements + static_cast<size_t>(count) * elementSize;
    if (storage == StorePointers) {
        std::memcpy(slot, &item, sizeof(item));
    } else {
        std::memcpy(slot, item, elementSize);
    }
    ++count;
    return S_OK;
}

void* ArrayList::ItemAt(UINT index) const {
    if (storage == StorePointers) {
        void* pointer;
        std::memcpy(&pointer, elements + static_cast<size_t>(index) * elementSize, sizeof(pointer));
        return pointer;
    }
    // A list that never grew has no block: slot 0 is then the null address, and its count is 0.
    if (elements == nullptr) return nullptr;
    return elements + static_cast<size_t>(index) * elementSize;
}

bool ArrayList::Includes(const void* item) const {
    for (UINT index = 0; index < count; ++index) {
        const BYTE* slot = elements + static_cast<size_t>(index) * elementSize;
        if (storage == StorePointers) {
            void* pointer;
            std::memcpy(&pointer, slot, sizeof(pointer));
            if (pointer == item) return true;
        } else if (std::memcmp(slot, item, elementSize) == 0) {
            return true;
        }
    }
    return false;
}
