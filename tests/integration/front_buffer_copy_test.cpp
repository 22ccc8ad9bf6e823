// The picture single-frame mode keeps and the save writes, on Wine's real Direct3D 9: the
// device's front-buffer copy and the window's own picture give the same PNG of the same frame,
// and the automatic choice takes the window's only where the device's came back black.
#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/png_decode.h"
#include "support/real_viewer_suite.h"
#include "support/scratch_folder.h"
#include "support/surface_readback.h"
#include "viewer/front_buffer_copy.h"
#include "viewer/png_writer.h"
#include "viewer/viewer_application.h"

namespace {

using Microsoft::WRL::ComPtr;
using test_support::Picture;

// Windows' GetFrontBufferData, which Wine over llvmpipe cannot give: the presented frame written
// at the client area's desktop position, the rest of the surface left as it was. It stands in
// for the device's own method while the object lives, through a copy of the device's method
// table with that one entry replaced.
class FrontBufferStandIn {
public:
    FrontBufferStandIn(IDirect3DDevice9* device, const Picture& frame, HWND window)
        : object_(reinterpret_cast<void***>(device)), original_(*object_) {
        frame_ = &frame;
        window_ = window;
        std::copy(original_, original_ + kMethodCount, table_);
        table_[kGetFrontBufferDataSlot] = reinterpret_cast<void*>(&GetFrontBufferData);
        *object_ = table_;
    }
    ~FrontBufferStandIn() { *object_ = original_; }
    FrontBufferStandIn(const FrontBufferStandIn&) = delete;
    FrontBufferStandIn& operator=(const FrontBufferStandIn&) = delete;

private:
    // IDirect3DDevice9's methods in order, IUnknown's three first: GetFrontBufferData is the 34th.
    static constexpr int kGetFrontBufferDataSlot = 33;
    static constexpr int kMethodCount = 119;

    static HRESULT STDMETHODCALLTYPE GetFrontBufferData(IDirect3DDevice9*, UINT swapChain,
                                                        IDirect3DSurface9* destination) {
        if (swapChain != 0 || !destination) return D3DERR_INVALIDCALL;
        D3DSURFACE_DESC desc = {};
        destination->GetDesc(&desc);
        const RECT client = ClientRectOnDesktop(window_);
        D3DLOCKED_RECT locked = {};
        if (FAILED(destination->LockRect(&locked, nullptr, 0))) return D3DERR_INVALIDCALL;
        for (UINT y = 0; y < frame_->height; ++y) {
            for (UINT x = 0; x < frame_->width; ++x) {
                const LONG dx = client.left + static_cast<LONG>(x), dy = client.top + static_cast<LONG>(y);
                if (dx < 0 || dy < 0 || dx >= static_cast<LONG>(desc.Width) || dy >= static_cast<LONG>(desc.Height)) continue;
                DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + dy * locked.Pitch);
                row[dx] = 0xFF000000u | frame_->At(static_cast<int>(x), static_cast<int>(y));
            }
        }
        return destination->UnlockRect();
    }

    void*** object_;
    void** original_;
    void* table_[kMethodCount] = {};
    static inline const Picture* frame_ = nullptr;
    static inline HWND window_ = nullptr;
};

class FrontBufferCopyTest : public test_support::RealViewerSuite {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, app_->device);
        // A frame on the screen, and the same frame as the device resolved it.
        ASSERT_EQ(S_OK, app_->RenderFrame());
        frame = test_support::ReadBack(app_->device);
        ASSERT_EQ(512u, frame.width);
        ASSERT_EQ(S_OK, app_->device->Present(nullptr, nullptr, nullptr, nullptr));
        client = ClientRectOnDesktop(app_->mainWindow);
    }

    // A fresh copy surface of the desktop's size, as the viewer keeps one.
    static ComPtr<IDirect3DSurface9> NewCopy() {
        D3DDISPLAYMODE mode = {};
        EXPECT_EQ(S_OK, app_->device->GetDisplayMode(0, &mode));
        ComPtr<IDirect3DSurface9> copy;
        EXPECT_EQ(S_OK, app_->device->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8,
                                                                  D3DPOOL_SCRATCH, &copy, nullptr));
        return copy;
    }

    std::vector<BYTE> SaveClientArea(IDirect3DSurface9* copy, const char* name) {
        const std::string path = folder.Path(name);
        EXPECT_EQ(S_OK, SaveSurfaceRectToPng(copy, client, path.c_str()));
        return test_support::ReadFileBytes(path);
    }

    // Pixels of a decoded PNG of the client area that differ from the frame.
    int PixelsUnlike(const Picture& expected, const std::vector<BYTE>& file) {
        const test_support::DecodedPng png = test_support::DecodeRgb(file);
        if (!png.ok || png.width != expected.width || png.height != expected.height) return -1;
        int wrong = 0;
        for (UINT y = 0; y < png.height; ++y) {
            for (UINT x = 0; x < png.width; ++x) {
                const BYTE* p = &png.rgb[(y * png.width + x) * 3];
                const int cx = static_cast<int>(x), cy = static_cast<int>(y);
                if (p[0] != expected.Red(cx, cy) || p[1] != expected.Green(cx, cy) || p[2] != expected.Blue(cx, cy)) {
                    ++wrong;
                }
            }
        }
        return wrong;
    }

    Picture frame;
    RECT client = {};
    test_support::ScratchFolder folder;
};

TEST_F(FrontBufferCopyTest, DeviceCopyAndWindowPictureGiveTheSamePngOfTheFrame) {
    ASSERT_EQ(512, client.right - client.left);
    ASSERT_EQ(384, client.bottom - client.top);
    ComPtr<IDirect3DSurface9> fromDevice = NewCopy();
    {
        FrontBufferStandIn standIn(app_->device, frame, app_->mainWindow);
        ASSERT_EQ(S_OK, CopyFrontBuffer(app_->device, fromDevice.Get(), app_->mainWindow, FrontBufferSourceDeviceOnly));
    }
    ComPtr<IDirect3DSurface9> fromWindow = NewCopy();
    ASSERT_EQ(S_OK, CopyFrontBuffer(app_->device, fromWindow.Get(), app_->mainWindow, FrontBufferSourceWindowOnly));

    const std::vector<BYTE> devicePng = SaveClientArea(fromDevice.Get(), "device.png");
    const std::vector<BYTE> windowPng = SaveClientArea(fromWindow.Get(), "window.png");
    ASSERT_FALSE(devicePng.empty());
    EXPECT_EQ(0, PixelsUnlike(frame, devicePng));
    EXPECT_EQ(0, PixelsUnlike(frame, windowPng));
    EXPECT_TRUE(devicePng == windowPng) << "the two paths wrote different files";
}

TEST_F(FrontBufferCopyTest, AutomaticChoiceFallsBackToTheWindowOnlyWhereTheDeviceCopyIsBlack) {
    // Wine's own copy is black here: the window's picture is taken instead.
    ComPtr<IDirect3DSurface9> automatic = NewCopy();
    ASSERT_EQ(S_OK, CopyFrontBuffer(app_->device, automatic.Get(), app_->mainWindow, FrontBufferSourceAutomatic));
    EXPECT_EQ(0, PixelsUnlike(frame, SaveClientArea(automatic.Get(), "automatic.png")));

    // A device copy that is a picture is kept as it is, even where the window shows another.
    Picture inverted = frame;
    for (DWORD& pixel : inverted.pixels) pixel ^= 0x00FFFFFF;
    ComPtr<IDirect3DSurface9> kept = NewCopy();
    {
        FrontBufferStandIn standIn(app_->device, inverted, app_->mainWindow);
        ASSERT_EQ(S_OK, CopyFrontBuffer(app_->device, kept.Get(), app_->mainWindow, FrontBufferSourceAutomatic));
    }
    EXPECT_EQ(0, PixelsUnlike(inverted, SaveClientArea(kept.Get(), "kept.png")));
}

TEST_F(FrontBufferCopyTest, WindowPartlyOffTheDesktopSavesWhatLiesOnIt) {
    RECT window = {};
    ASSERT_TRUE(GetWindowRect(app_->mainWindow, &window));
    ASSERT_TRUE(SetWindowPos(app_->mainWindow, nullptr, -200, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    ASSERT_EQ(S_OK, app_->RenderFrame());
    ASSERT_EQ(S_OK, app_->device->Present(nullptr, nullptr, nullptr, nullptr));
    client = ClientRectOnDesktop(app_->mainWindow);
    ASSERT_LT(client.left, 0);

    ComPtr<IDirect3DSurface9> copy = NewCopy();
    EXPECT_EQ(S_OK, CopyFrontBuffer(app_->device, copy.Get(), app_->mainWindow, FrontBufferSourceAutomatic));
    const test_support::DecodedPng png = test_support::DecodeRgb(SaveClientArea(copy.Get(), "clipped.png"));
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(static_cast<LONG>(png.width), client.right);
    EXPECT_EQ(384u, png.height);
    SetWindowPos(app_->mainWindow, nullptr, window.left, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace
