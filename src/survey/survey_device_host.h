// The survey's device host: the framework's device life cycle on a small top-level window of the
// survey's own that is never shown, one windowed device per mode (a reset where the device at hand can serve it), the
// pattern's objects and font for the mode's picture, and the framework's reports as values
// instead of message boxes a console run would wait on.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <string>
#include <vector>

#include "font/text_font.h"
#include "framework/application_framework.h"
#include "framework/error_reporting.h"
#include "pattern/pattern_objects.h"
#include "pattern/pattern_settings.h"
#include "survey/survey_modes.h"

// What became of the device a mode asked for.
struct ModeDevice {
    // S_OK: the mode's device is ready. S_FALSE: the hardware device failed and the framework fell
    // back to the reference rasterizer, another mode, whose device was let go. Otherwise the
    // failure's code.
    HRESULT result = S_OK;
    // What the program's user would have been told meanwhile, on one line ("; " between reports);
    // empty when the device is ready and nothing was said.
    std::string text;
    // The call whose result this is: "CreateDevice" or "Reset".
    const char* call = "CreateDevice";
    // S_FALSE: what the hardware device's CreateDevice gave back before the fallback.
    HRESULT hardwareResult = S_OK;
};

// Told each step of a mode's survey just before it starts ("CreateDevice", "probe resolve"), so
// that a process that dies in one can be said to have died there.
using SurveyStepObserver = std::function<void(const std::string& step)>;

class SurveyDeviceHost : public ApplicationFramework {
public:
    SurveyDeviceHost();
    ~SurveyDeviceHost() override;
    SurveyDeviceHost(const SurveyDeviceHost&) = delete;
    SurveyDeviceHost& operator=(const SurveyDeviceHost&) = delete;

    // Creates the survey's window (a top-level tool window that is never shown, so never on the
    // taskbar or the screen) and starts the framework on it: the Direct3D object, the enumeration
    // and a first device.
    HRESULT Start(HINSTANCE instance);

    // Releases the device and the Direct3D object and closes the window: the framework's own
    // shutdown, reached through WM_CLOSE. Safe to call twice.
    void Finish();

    // Lets the window answer the system between modes (no message loop runs meanwhile).
    static void PumpMessages();

    ModeDevice CreateModeDevice(const SurveyMode& mode);

    // Waits up to lostDeviceWaitMilliseconds for a lost device, resetting it when it may be. call
    // is set to the call that failed ("TestCooperativeLevel" or "Reset").
    HRESULT WaitForUsableDevice(const char** call = nullptr);

    // Announces a step to stepObserver, where there is one.
    void AnnounceStep(const std::string& step) const;
    SurveyStepObserver stepObserver;

    // The framework's reports since the last call, each on one line, joined by "; "; empty when
    // there were none.
    std::string TakeFrameworkReports();

    // The pattern's objects and the font, made, restored, released and destroyed with the device.
    HRESULT CreateDeviceResources() override;
    HRESULT RestoreDeviceResources() override;
    HRESULT ReleaseDeviceResources() override;
    HRESULT DestroyDeviceResources() override;
    // The program's start-up picture, its status line naming the mode instead of counting frames.
    HRESULT RenderFrame() override;
    // Keeps the window hidden: the framework shows its window after each new device.
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // How long a lost device is waited for before its mode is reported as failed. A device lost
    // to another program's fullscreen mode usually comes back within seconds.
    double lostDeviceWaitMilliseconds = 10000.0;

    PatternSettings pattern;  // the program's start-up picture
    // The format the picture is drawn in where that is not the back buffer's (named on its status
    // line); D3DFMT_UNKNOWN while it is the back buffer's.
    D3DFORMAT pictureFormat = D3DFMT_UNKNOWN;
    PatternObjects patternObjects;
    TextFont font;

private:
    std::vector<FrameworkReport> reports;
};
