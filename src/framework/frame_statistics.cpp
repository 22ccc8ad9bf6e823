// The frame-rate and format line of the status overlay: the rate measured about once a second,
// the line rewritten then and whenever the device changes.
#include <cstdio>

#include "enumeration/value_names.h"
#include "framework/application_framework.h"
#include "framework/frame_timer.h"
#include "framework/process_state.h"

namespace {

constexpr int kTextSize = 100;

void FormatMultisampleText(D3DMULTISAMPLE_TYPE type, char* text) {
    text[0] = '\0';
    if (type == D3DMULTISAMPLE_NONMASKABLE) {
        std::snprintf(text, kTextSize, " (Nonmaskable Multisample ");
    } else if (type >= D3DMULTISAMPLE_2_SAMPLES && type <= D3DMULTISAMPLE_16_SAMPLES) {
        std::snprintf(text, kTextSize, " (%dx Multisample ", static_cast<int>(type));
    }
}

}  // namespace

void ApplicationFramework::RefreshFrameStats() {
    FrameRateState& frameRate = ProcessState().frameRate;
    const double now = FrameTimer(TimerGetAbsoluteTime);
    ++frameRate.framesSinceMeasurement;
    const double span = now - frameRate.lastMeasurementTime;
    if (!(span > 1.0)) return;

    framesPerSecond = static_cast<float>(frameRate.framesSinceMeasurement / span);
    frameRate.framesSinceMeasurement = 0;
    frameRate.lastMeasurementTime = now;

    WriteStatisticsLine();
}

// The rate last measured with the device as it is now: a frame drawn right after a device change
// (the only one, in single-frame mode) must not show the size and sampling of the one before.
void ApplicationFramework::WriteStatisticsLine() {
    const D3DDISPLAYMODE& mode = settings.CurrentDisplayMode();
    char formatText[kTextSize];
    if (mode.Format == backBufferDesc.Format) {
        lstrcpynA(formatText, FormatText(mode.Format, false), kTextSize);
    } else {
        std::snprintf(formatText, kTextSize, "backbuf %s, adapter %s", FormatText(backBufferDesc.Format, false),
                      FormatText(mode.Format, false));
    }
    formatText[kTextSize - 1] = '\0';

    char depthText[kTextSize] = "";
    if (enumeration.usesDepthBuffer) {
        std::snprintf(depthText, kTextSize, " (%s)", FormatText(settings.CurrentDepthStencilFormat(), false));
    }

    char multisampleText[kTextSize];
    FormatMultisampleText(settings.multisampleType, multisampleText);

    char qualityText[kTextSize] = {};
    if (multisampleText[0] != '\0') {
        std::snprintf(qualityText, kTextSize, "Quality %d)", static_cast<int>(settings.multisampleQuality));
    }

    std::snprintf(frameStatistics, sizeof(frameStatistics), "%.02f fps (%dx%d), %s%s%s%s", framesPerSecond,
                  static_cast<int>(backBufferDesc.Width), static_cast<int>(backBufferDesc.Height), formatText,
                  depthText, multisampleText, qualityText);
    frameStatistics[sizeof(frameStatistics) - 1] = '\0';
}
