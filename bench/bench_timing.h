// The benches' clock and how they sum up repeated runs: least and median.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Summary {
    double minimum;
    double median;
};

inline Summary Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2]};
}
