// Contiguous, append-only list of fixed-size elements, grown by doubling.
// Every list of the device-enumeration tree is one of these.
#pragma once

#include <windows.h>

enum ElementStorage : UINT {
    StoreValues = 0,    // elements are copied in by value
    StorePointers = 1,  // elements are pointer values; the pointees are not owned
};

class ArrayList {
public:
    ArrayList(ElementStorage storage, UINT elementSize);
    ~ArrayList();
    ArrayList(const ArrayList&) = delete;
    ArrayList& operator=(const ArrayList&) = delete;

    // item: the pointer to store (StorePointers) or the address of elementSize bytes (StoreValues).
    HRESULT Append(const void* item);
    // StorePointers: the stored pointer; StoreValues: the slot's address (valid until the next Append).
    void* ItemAt(UINT index) const;
    bool Includes(const void* item) const;
    UINT Count() const { return count; }
    void Truncate() { count = 0; }

    UINT Capacity() const { return capacity; }
    UINT ElementSize() const { return elementSize; }

private:
    ElementStorage storage;
    BYTE* elements = nullptr;
    UINT elementSize;
    UINT count = 0;
    UINT capacity = 0;
};

// Typed reads of a StoreValues list.
template <typename T>
inline T ValueAt(const ArrayList* list, UINT index) {
    return *static_cast<const T*>(list->ItemAt(index));
}

// The first value of a StoreValues list (the most preferred where the list is ordered), or
// fallback where the list is missing or empty.
template <typename T>
inline T FirstValue(const ArrayList* list, T fallback) {
    return list && list->Count() > 0 ? ValueAt<T>(list, 0) : fallback;
}
