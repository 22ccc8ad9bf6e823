// A suite of tests sharing one ViewerApplication on Wine's real Direct3D 9, in a real window:
// made once before the suite's first test and closed as a user would after its last.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "viewer/viewer_application.h"

namespace test_support {

class RealViewerSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = new ViewerApplication();
        ASSERT_EQ(S_OK, app_->Initialize(GetModuleHandleA(nullptr)));
        ASSERT_NE(nullptr, app_->device);
    }

    static void TearDownTestSuite() {
        if (app_->mainWindow != nullptr) SendMessageA(app_->mainWindow, WM_CLOSE, 0, 0);
        MSG quit;
        while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
        }
        delete app_;
        app_ = nullptr;
    }

    // A new device through the framework, as the settings dialog would make it.
    static void UseMultisampling(D3DMULTISAMPLE_TYPE type, DWORD quality = 0) {
        if (app_->settings.multisampleType == type && app_->settings.multisampleQuality == quality) {
            return;
        }
        app_->settings.multisampleType = type;
        app_->settings.multisampleQuality = quality;
        app_->ReleaseDevice();
        ASSERT_EQ(S_OK, app_->CreateDeviceFromSettings());
        ASSERT_EQ(type, app_->presentParams.MultiSampleType);
    }

    static inline ViewerApplication* app_ = nullptr;
};

}  // namespace test_support
