// An enumeration's names in the JSON files, one table per enumeration read both ways, so that a
// name written is always a name read. A null name stands for JSON null (a finding not made).
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

template <typename Enum>
struct JsonName {
    Enum value;
    const char* name;  // nullptr: written as null
};

template <typename Enum, size_t N>
nlohmann::json JsonNameOf(const JsonName<Enum> (&table)[N], Enum value) {
    for (const JsonName<Enum>& entry : table) {
        if (entry.value == value) return entry.name ? nlohmann::json(entry.name) : nlohmann::json(nullptr);
    }
    return nullptr;
}

// A name no table entry has is no file this program wrote: it throws, as a mistyped value does in
// nlohmann's get().
template <typename Enum, size_t N>
Enum JsonValueOf(const JsonName<Enum> (&table)[N], const nlohmann::json& name) {
    for (const JsonName<Enum>& entry : table) {
        if (entry.name ? name == entry.name : name.is_null()) return entry.value;
    }
    throw std::invalid_argument("unknown name " + name.dump());
}
