// A fixed table of texts by value, read both ways: the names of Direct3D values and result codes,
// and what a code means to whoever reports it.
#pragma once

#include <cstddef>
#include <string>

template <typename Value>
struct ValueText {
    Value value;
    const char* text;
};

// Keeps the value argument out of deduction: the table alone says what Value is.
template <typename Value>
struct ValueOfTable {
    using type = Value;
};

template <typename Value, size_t N>
const char* TextOf(const ValueText<Value> (&table)[N], typename ValueOfTable<Value>::type value,
                   const char* unknown) {
    for (const ValueText<Value>& entry : table) {
        if (entry.value == value) return entry.text;
    }
    return unknown;
}

template <typename Value, size_t N>
bool ValueOf(const ValueText<Value> (&table)[N], const std::string& text, Value* value) {
    for (const ValueText<Value>& entry : table) {
        if (text == entry.text) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}
