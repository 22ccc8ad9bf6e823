// The survey's application object: on the survey's device host, each mode gets a windowed device
// made by the framework from DeviceSettings, the sample-position measurement and one frame of the
// program's start-up picture, resolved and written as a PNG.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>

#include "analysis/session/measurement_session.h"
#include "survey/survey_device_host.h"
#include "survey/survey_modes.h"
#include "survey/survey_report.h"

class SurveyApplication : public SurveyDeviceHost {
public:
    // Measures one mode into report (made by ReportForMode). The picture is written to
    // picturePath; one that cannot be written sets *outputFailure to the code (the folder is at
    // fault then, not the mode). A picture that cannot be made leaves the measurement standing
    // and says why in the report's pictureError.
    void Survey(const SurveyMode& mode, const std::string& picturePath, ModeReport* report,
                HRESULT* outputFailure);
    // Measures mode in its render-target format on the device the last Survey made for the same
    // device type, multisample type and quality: a mode's other formats cost no device of their own.
    // Where that Survey made no device, the report fails as its did. The picture is drawn into a
    // multisampled target of the format, resolved and written to picturePath as Survey's.
    void SurveyFormat(const SurveyMode& mode, const ModeReport& first, const std::string& picturePath,
                      ModeReport* report, HRESULT* outputFailure);

    // What measures a mode's device: the measurement session, as the Sample Positions dialog's; a
    // test on a fake device, which cannot be measured, puts its own here to reach the picture.
    HRESULT (*measure)(IDirect3DDevice9* device, ModeMeasurement* measurement, ProbeObserver observer,
                       void* context) = MeasureMode;

private:
    HRESULT WritePicture(const std::string& path, HRESULT* outputFailure);
    HRESULT WriteFormatPicture(const MultisampleMode& mode, const std::string& path, HRESULT* outputFailure);
    // The picture's outcome in the report: its file's name, or why there is none.
    void NotePicture(HRESULT picture, D3DFORMAT format, const std::string& path, HRESULT outputFailure,
                     ModeReport* report);
    // The measurement of report's mode on the device made for it, what failed said in the report.
    HRESULT MeasureOnDevice(ModeReport* report);
};
