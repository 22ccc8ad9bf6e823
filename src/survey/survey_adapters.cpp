// The survey's own Direct3D object and enumeration.
#include "survey/survey_adapters.h"

#include "platform/platform.h"
#include "survey/survey_report.h"

SurveyAdapters::~SurveyAdapters() {
    // The tree borrows nothing from the object, but is made from it: it goes first.
    enumeration.direct3d = nullptr;
    if (direct3d) direct3d->Release();
}

HRESULT SurveyAdapters::Start(std::string* error) {
    direct3d = platform::CreateDirect3D(D3D_SDK_VERSION);
    if (!direct3d) {
        // The loader says which file it tried and why it gave nothing.
        const std::string why = platform::LoadedDirect3DLibrary().error;
        *error = why.empty() ? "Direct3DCreate9 gave no object: no d3d9.dll, or one that does not offer Direct3D 9" : why;
        return E_FAIL;
    }
    enumeration.direct3d = direct3d;
    const HRESULT result = enumeration.Enumerate();
    if (FAILED(result)) {
        *error = "the adapters could not be enumerated: " + ResultCodeText(result);
        const std::string cause = LikelyCauseText(result);
        if (!cause.empty()) *error += " (likely cause: " + cause + ")";
    }
    return result;
}
