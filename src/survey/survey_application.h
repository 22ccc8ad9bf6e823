// The survey's application object: the viewer itself, on a small window of the survey's own,
// driven mode by mode instead of by a message loop. Each mode gets a windowed device made by
// the framework from DeviceSettings, the sample-position measurement and one frame of the
// viewer's default picture, resolved and written as a PNG.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>

#include "survey/survey_modes.h"
#include "survey/survey_report.h"
#include "viewer/viewer_application.h"

class SurveyApplication : public ViewerApplication {
public:
    SurveyApplication();
    ~SurveyApplication() override;

    // Creates the survey's window (a child of a hidden tool window, so never on the taskbar) and
    // starts the framework on it: the Direct3D object, the enumeration and a first device.
    HRESULT Start(HINSTANCE instance);

    // Measures one mode into report (made by ReportForMode). The picture is written to
    // picturePath; one that cannot be written sets *outputFailure to the code (the folder is at
    // fault then, not the mode).
    void Survey(const SurveyMode& mode, const std::string& picturePath, ModeReport* report,
                HRESULT* outputFailure);

    AdapterDescription DescribeAdapter(const AdapterInfo& adapterInfo, const D3DDISPLAYMODE& desktop) const;

    // Releases the device and the Direct3D object and closes the window: the framework's own
    // shutdown, reached through WM_CLOSE. Safe to call twice.
    void Finish();

    // Lets the window answer the system between modes (no message loop runs meanwhile).
    static void PumpMessages();

    // How long a lost device is waited for before its mode is reported as failed. A device lost
    // to another program's fullscreen mode usually comes back within seconds.
    double lostDeviceWaitMilliseconds = 10000.0;

private:
    HWND hostWindow = nullptr;  // the never-shown parent of mainWindow

    HRESULT CreateModeDevice(const SurveyMode& mode);
    HRESULT WaitForUsableDevice();
    HRESULT WritePicture(const std::string& path, HRESULT* outputFailure);
};
