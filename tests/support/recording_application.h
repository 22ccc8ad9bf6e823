// An ApplicationFramework for framework tests: it logs each overridable operation it runs, in
// order, and fails the ones a test names. The fixture beside it starts every case as a fresh
// process (fake platform and framework state reset).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/application_framework.h"
#include "framework/framework_test_hooks.h"
#include "support/fake_platform.h"

namespace test_support {

class RecordingApplication : public ApplicationFramework {
public:
    std::vector<std::string> log;
    // Operations that return the given failure instead of S_OK (by name, e.g. "RenderFrame").
    std::map<std::string, HRESULT> failures;
    // Called as each operation runs (after it is logged), e.g. to look at the state at that moment.
    std::function<void(const std::string&)> onOperation;

    HRESULT InitScene() override { return Record("InitScene"); }
    HRESULT CreateDeviceResources() override { return Record("CreateDeviceResources"); }
    HRESULT RestoreDeviceResources() override { return Record("RestoreDeviceResources"); }
    HRESULT UpdateFrame() override { return Record("UpdateFrame"); }
    HRESULT RenderFrame() override { return Record("RenderFrame"); }
    HRESULT ReleaseDeviceResources() override { return Record("ReleaseDeviceResources"); }
    HRESULT DestroyDeviceResources() override { return Record("DestroyDeviceResources"); }
    HRESULT CleanupScene() override { return Record("CleanupScene"); }
    void RefreshFrameStats() override {
        log.push_back("RefreshFrameStats");
        if (onOperation) onOperation("RefreshFrameStats");
        ApplicationFramework::RefreshFrameStats();
    }

    int Count(const std::string& operation) const {
        int count = 0;
        for (const std::string& entry : log) count += entry == operation ? 1 : 0;
        return count;
    }

private:
    HRESULT Record(const char* operation) {
        log.push_back(operation);
        if (onOperation) onOperation(operation);
        auto failure = failures.find(operation);
        return failure == failures.end() ? S_OK : failure->second;
    }
};

// A message-only window whose messages go to the application through FrameworkWindowProc, as
// the framework's own window's would. It is never mapped on the display: destroying a window
// that was shown costs Wine two seconds without a window manager.
inline HWND CreateFrameworkWindow(int clientWidth = 400, int clientHeight = 300) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Quillant Framework Test";
    static_cast<void>(RegisterClassA(&windowClass));
    return CreateWindowExA(0, windowClass.lpszClassName, "test", WS_POPUP, 10, 10, clientWidth, clientHeight,
                           HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
}

// Takes the WM_QUIT a shutdown posted, so that it cannot end a later case's loop; true if found.
inline bool TakeQuitMessage(int* exitCode = nullptr) {
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            if (exitCode) *exitCode = static_cast<int>(message.wParam);
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_platform::Reset();
        framework_test_hooks::ResetProcessState();
    }
    void TearDown() override {
        fake_platform::Reset();
        framework_test_hooks::ResetProcessState();
    }
};

// The performance counter at 1 kHz, standing at 1 s until Wait moves it.
class ClockedFrameworkTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        fake_platform::counterFrequency = 1000;
        fake_platform::counterValue = 1000;
    }
    void Wait(int milliseconds) { fake_platform::counterValue += milliseconds; }
};

}  // namespace test_support
