// Differences between two results of a measurement, and how they are worded.
#include "analysis/session/measurement_difference.h"

#include <cmath>

namespace {

using nlohmann::json;

// Values as written are rounded already: anything closer than this is the same number.
constexpr double kSameNumber = 1e-9;

}  // namespace

void DifferenceList::Add(const std::string& location, const std::string& text, const Pointer& path, const json& was,
                         const json& now) {
    items_.push_back({location, text, path, was, now});
}

void DifferenceList::CompareValues(const std::string& location, const Pointer& path, const json& was, const json& now) {
    if (was == now) return;
    Add(location, "was " + DifferenceValueText(was) + " now " + DifferenceValueText(now), path, was, now);
}

void DifferenceList::CompareWithin(const std::string& location, const Pointer& path, const json& was, const json& now,
                                   double tolerance) {
    if (std::fabs(was.get<double>() - now.get<double>()) <= tolerance + kSameNumber) return;
    Add(location, "was " + DifferenceValueText(was) + " now " + DifferenceValueText(now), path, was, now);
}

void DifferenceList::CompareCounts(const std::string& location, const Pointer& path, size_t was, size_t now) {
    if (was == now) return;
    Add(location, "was " + std::to_string(was) + " entries now " + std::to_string(now), path, json(was), json(now));
}

void DifferenceList::AddAll(const DifferenceList& inner, const std::string& location, const Pointer& path) {
    for (const MeasurementDifference& difference : inner.items_) {
        items_.push_back({JoinedLocation(location, difference.location), difference.text, path / difference.path,
                          difference.was, difference.now});
    }
}

std::string JoinedLocation(const std::string& location, const std::string& key) {
    if (location.empty()) return key;
    if (key.empty()) return location;
    if (key.front() == '[') return location + key;
    return location + (location.back() == ')' || location.find(' ') != std::string::npos ? " " : ".") + key;
}

std::string DifferenceValueText(const json& value) {
    if (value.is_null()) return "none";
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}
