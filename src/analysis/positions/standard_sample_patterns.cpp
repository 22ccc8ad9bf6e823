// The standard positions as data, by sample index, in 1/16 pixel.
#include "analysis/positions/standard_sample_patterns.h"

namespace {

constexpr SixteenthsPoint kOne[] = {{8, 8}};
constexpr SixteenthsPoint kTwo[] = {{12, 12}, {4, 4}};
constexpr SixteenthsPoint kFour[] = {{6, 2}, {14, 6}, {2, 10}, {10, 14}};
constexpr SixteenthsPoint kEight[] = {{9, 5}, {7, 11}, {13, 9}, {5, 3},
                                      {3, 13}, {1, 7}, {11, 15}, {15, 1}};
constexpr SixteenthsPoint kSixteen[] = {{9, 9},  {7, 5},  {5, 10},  {12, 7}, {3, 6},  {10, 13},
                                        {13, 11}, {11, 3}, {6, 14}, {8, 1},  {4, 2},  {2, 12},
                                        {0, 8},  {15, 4}, {14, 15}, {1, 0}};

}  // namespace

StandardSamplePattern StandardPatternFor(int count) {
    switch (count) {
        case 1: return {1, kOne};
        case 2: return {2, kTwo};
        case 4: return {4, kFour};
        case 8: return {8, kEight};
        case 16: return {16, kSixteen};
        default: return {count, nullptr};
    }
}
