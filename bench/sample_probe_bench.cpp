// The measurement's cost on the system's Direct3D 9, from F3 to the data: one measurement at 1x
// and at 4 samples on the viewer's device after a few frames (the first on that device, and the
// best of the following ones), and the decoder alone on the pictures of a 4-sample measurement.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "analysis/probing/probe_pattern.h"
#include "analysis/positions/sample_decoder.h"
#include "analysis/positions/sample_probe.h"
#include "analysis/positions/standard_sample_patterns.h"
#include "analysis/session/measurement_session.h"
#include "probe_timing.h"

namespace {

// F3 on the viewer's device: the positions alone, and the whole session (every probe of the mode).
void TimeMeasurements(ViewerApplication& app, D3DMULTISAMPLE_TYPE type, const char* positionsLabel,
                      const char* sessionLabel) {
    if (!UseDrawnDevice(app, type)) {
        std::printf("%-34s no device\n", positionsLabel);
        return;
    }
    PrintFirstAndBest(positionsLabel, [&](std::string* found) {
        SampleMeasurement measurement;
        const HRESULT hr = MeasureSamplePositions(app.device, &measurement);
        *found = VerdictText(measurement);
        return hr;
    });
    PrintFirstAndBest(sessionLabel, [&](std::string* found) {
        ModeMeasurement measurement;
        const HRESULT hr = MeasureMode(app.device, &measurement);
        *found = measurement.mode.TypeName();
        return hr;
    });
}

// Pictures of a 4-sample measurement made from the standard table, without a device.
ProbeImages StandardPictures() {
    ProbeImages images;
    images.pattern = ChooseProbePattern(0.0);
    images.maskable = true;
    images.sampleCount = 4;
    const int side = ProbeImageSide(images.pattern);
    const int tile = images.pattern.gridSize + 1;
    const StandardSamplePattern table = StandardPatternFor(4);
    const double n = images.pattern.gridSize;
    const double centre = images.pattern.geometryOffsetX + 0.53125 - images.pattern.tileOriginX;
    auto picture = [&](unsigned mask) {
        IntensityImage image;
        image.width = image.height = side;
        image.levels = 255;
        image.values.assign(static_cast<size_t>(side) * side, 0.0f);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                int covered = 0;
                for (int s = 0; s < 4; ++s) {
                    if (!(mask & (1u << s))) continue;
                    const double at[2] = {x % tile + table.points[s].x / 16.0,
                                          y % tile + table.points[s].y / 16.0};
                    bool inside = true;
                    for (double a : at) {
                        const double i = std::floor((a - centre) / (1.0 + 1.0 / n) + 0.5);
                        const double d = a - centre - i * (1.0 + 1.0 / n);
                        inside = inside && i >= 0 && i < n && d >= -0.0625 && d < 0.0625;
                    }
                    if (inside) ++covered;
                }
                image.values[static_cast<size_t>(y) * side + x] =
                    static_cast<float>(std::lround(covered * 255.0 / 4) / 255.0);
            }
        }
        return image;
    };
    for (int s = 0; s < 4; ++s) images.bitMaps.push_back(picture(1u << s));
    images.allBits = picture(0xF);
    return images;
}

}  // namespace

int main() {
    return RunOnViewer([](ViewerApplication& app) {
        TimeMeasurements(app, D3DMULTISAMPLE_NONE, "positions at 1x", "every probe (session) at 1x");
        TimeMeasurements(app, D3DMULTISAMPLE_4_SAMPLES, "positions at 4 samples",
                         "every probe (session) at 4 samples");

        const ProbeImages images = StandardPictures();
        SampleMeasurement measurement;
        const double best = BestMilliseconds(20, [&] { DecodeSamplePositions(images, &measurement); });
        std::printf("%-34s best %8.2f ms  (%s)\n", "decoder alone, 4 samples", best,
                    VerdictText(measurement).c_str());
        return 0;
    });
}
