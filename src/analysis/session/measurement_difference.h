// What differs between two results of one measurement (a baseline's and a later run's), each
// difference with where it is, in words and as a JSON pointer into the measurement's JSON, and both
// values as that JSON has them. Each measurement's comparison fills a list with its own
// tolerances; the survey places the lists under their measurements' keys.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct MeasurementDifference {
    std::string location;                // "sample 2 (mask bit 2) y", "ladder[2].value"
    std::string text;                    // "was 10/16 [0.5938, 0.6562) now 12/16 [0.7188, 0.7812)"
    nlohmann::json::json_pointer path;   // "/samples/2/y"
    nlohmann::json was;                  // null where the earlier result has none
    nlohmann::json now;
};

class DifferenceList {
public:
    using Pointer = nlohmann::json::json_pointer;

    void Add(const std::string& location, const std::string& text, const Pointer& path, const nlohmann::json& was,
             const nlohmann::json& now);
    // Values that must be equal (verdicts, counts, names): "was <was> now <now>" where they are not.
    void CompareValues(const std::string& location, const Pointer& path, const nlohmann::json& was,
                       const nlohmann::json& now);
    // Numbers (as written) that agree within tolerance.
    void CompareWithin(const std::string& location, const Pointer& path, const nlohmann::json& was,
                       const nlohmann::json& now, double tolerance);
    // Lists of different lengths: "was 4 entries now 3"; the entries both have are compared after.
    void CompareCounts(const std::string& location, const Pointer& path, size_t was, size_t now);
    // Two lists under key: their counts, then compare(location, path, was[i], now[i]) for each
    // entry both have, at "key[i]" and key/i.
    template <class Entry, class Compare>
    void CompareEach(const std::string& key, const Pointer& path, const std::vector<Entry>& was,
                     const std::vector<Entry>& now, Compare compare) {
        CompareCounts(key, path, was.size(), now.size());
        for (size_t i = 0; i < was.size() && i < now.size(); ++i) {
            compare(key + "[" + std::to_string(i) + "]", path / i, was[i], now[i]);
        }
    }
    // Another list's differences, each placed under location and path.
    void AddAll(const DifferenceList& inner, const std::string& location, const Pointer& path);

    const std::vector<MeasurementDifference>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }
    size_t Size() const { return items_.size(); }

private:
    std::vector<MeasurementDifference> items_;
};

// A key or index under a location: "sample 2 (mask bit 2)" + "y" gives "sample 2 (mask bit 2) y"
// (after a name with a space, a space), "transfer" + "ladder" gives "transfer.ladder", an index
// "[2]" follows directly, and an empty side gives the other.
std::string JoinedLocation(const std::string& location, const std::string& key);

// A value as a difference's text shows it: "none" for null, else compact JSON ("\"stored\"", 64).
std::string DifferenceValueText(const nlohmann::json& value);
