// Framework figures on the real Direct3D runtime: how long the start-up enumeration takes, and
// what one StepFrame costs with an empty RenderFrame on a real device in a real window, with the
// part spent in Present shown apart.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "enumeration/device_enumeration.h"
#include "framework/application_framework.h"
#include "platform/platform.h"
#include "bench_timing.h"

namespace {

// The framework with nothing of its own to draw: the frame step's own overhead stays.
class EmptyFrameApplication : public ApplicationFramework {
public:
    EmptyFrameApplication() { windowTitle = "framework bench"; }
    HRESULT RenderFrame() override {
        ++frames;
        return S_OK;
    }
    // Stamps the moment the step is about to present.
    void RefreshFrameStats() override {
        ApplicationFramework::RefreshFrameStats();
        beforePresent = Now();
    }
    long frames = 0;
    double beforePresent = 0.0;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void BenchEnumeration() {
    constexpr int kRuns = 7;
    std::vector<double> createTimes;
    std::vector<double> enumerateTimes;
    UINT adapters = 0;
    UINT combos = 0;
    for (int run = 0; run < kRuns; ++run) {
        const double start = Now();
        IDirect3D9* direct3d = platform::CreateDirect3D(D3D_SDK_VERSION);
        const double created = Now();
        if (!direct3d) {
            std::printf("enumeration: no Direct3D object\n");
            return;
        }
        {
            DeviceEnumeration enumeration;
            enumeration.direct3d = direct3d;
            const HRESULT result = enumeration.Enumerate();
            enumerateTimes.push_back(Now() - created);
            if (FAILED(result)) std::printf("enumeration failed: 0x%08lx\n", static_cast<unsigned long>(result));
            adapters = enumeration.adapterInfos ? enumeration.adapterInfos->Count() : 0;
            combos = 0;
            for (UINT a = 0; a < adapters; ++a) {
                auto* adapter = static_cast<AdapterInfo*>(enumeration.adapterInfos->ItemAt(a));
                for (UINT d = 0; d < adapter->deviceInfos->Count(); ++d) {
                    combos += static_cast<DeviceInfo*>(adapter->deviceInfos->ItemAt(d))->deviceCombos->Count();
                }
            }
        }
        direct3d->Release();
        createTimes.push_back(created - start);
    }
    const Summary create = Summarise(createTimes);
    const Summary enumerate = Summarise(enumerateTimes);
    std::printf("Direct3DCreate9: min %.2f ms, median %.2f ms (%d runs)\n", create.minimum * 1e3, create.median * 1e3,
                kRuns);
    std::printf("Enumerate: min %.2f ms, median %.2f ms (%d runs; %u adapter(s), %u device combos)\n",
                enumerate.minimum * 1e3, enumerate.median * 1e3, kRuns, adapters, combos);
}

void BenchFrameStep() {
    EmptyFrameApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr)))) {
        std::printf("frame step: Initialize failed\n");
        return;
    }
    PumpMessages();
    std::printf("device: %s, %ux%u, present interval 0x%08x\n", app.deviceDescription, app.backBufferDesc.Width,
                app.backBufferDesc.Height, app.presentParams.PresentationInterval);

    constexpr int kWarmUp = 200;
    constexpr int kSteps = 5000;
    constexpr int kRounds = 3;
    for (int step = 0; step < kWarmUp; ++step) static_cast<void>(app.StepFrame());

    // Each drawn step splits at the stamp: before it the step's own work (cooperative level,
    // timer, update, render, statistics), after it Present.
    std::vector<double> stepTimes;
    std::vector<double> ownTimes;
    std::vector<double> presentTimes;
    for (int round = 0; round < kRounds; ++round) {
        PumpMessages();
        for (int step = 0; step < kSteps; ++step) {
            const long framesBefore = app.frames;
            const double start = Now();
            static_cast<void>(app.StepFrame());
            const double end = Now();
            if (app.frames == framesBefore) continue;
            stepTimes.push_back(end - start);
            ownTimes.push_back(app.beforePresent - start);
            presentTimes.push_back(end - app.beforePresent);
        }
    }
    const Summary step = Summarise(stepTimes);
    const Summary own = Summarise(ownTimes);
    const Summary present = Summarise(presentTimes);
    std::printf("StepFrame with an empty RenderFrame: min %.1f us, median %.1f us (%zu drawn steps)\n",
                step.minimum * 1e6, step.median * 1e6, stepTimes.size());
    std::printf("  of which before Present: min %.2f us, median %.2f us\n", own.minimum * 1e6, own.median * 1e6);
    std::printf("  of which Present: min %.1f us, median %.1f us\n", present.minimum * 1e6, present.median * 1e6);
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
    PumpMessages();
}

}  // namespace

int main() {
    BenchEnumeration();
    BenchFrameStep();
    return 0;
}
