// The fake Direct3D object that other tests build on: its life time and its default answers.
#include "support/fake_direct3d.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

namespace {

TEST(FakeDirect3DLifetime, ReleaseCountsDownAndDestroysAtZero) {
    bool destroyed = false;
    fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();
    direct3d->destroyed = &destroyed;
    EXPECT_EQ(2u, direct3d->AddRef());
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, direct3d->QueryInterface(IID_PPV_ARGS(&unknown)));
    EXPECT_EQ(3u, direct3d->RefCount());
    unknown.Reset();
    EXPECT_EQ(1u, direct3d->Release());
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(0u, direct3d->Release());
    EXPECT_TRUE(destroyed);
}

TEST(FakeDirect3DDefaults, DeviceTypeAcceptsTheAlphaVariantAndWindowedOnlyOnTheDesktopFormat) {
    Microsoft::WRL::ComPtr<fakes::FakeDirect3D> direct3d;
    direct3d.Attach(fakes::MakeTypicalDirect3D());
    EXPECT_EQ(D3D_OK, direct3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, TRUE));
    EXPECT_EQ(D3D_OK, direct3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE));
    EXPECT_NE(D3D_OK, direct3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, TRUE));
    EXPECT_NE(D3D_OK, direct3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, FALSE));
    EXPECT_NE(D3D_OK, direct3d->CheckDeviceType(1, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE));

    DWORD levels = 99;
    EXPECT_EQ(D3D_OK, direct3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                                           D3DMULTISAMPLE_4_SAMPLES, &levels));
    EXPECT_EQ(1u, levels);
    EXPECT_NE(D3D_OK, direct3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                                           D3DMULTISAMPLE_2_SAMPLES, nullptr));

    D3DCAPS9 caps = {};
    EXPECT_NE(D3D_OK, direct3d->GetDeviceCaps(0, D3DDEVTYPE_SW, &caps));
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(1);
    EXPECT_EQ(D3DERR_NOTAVAILABLE, direct3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0x40, nullptr, &device));
    EXPECT_EQ(nullptr, device);
    EXPECT_EQ("CreateDevice 0 1 64", direct3d->calls.back());
}

}  // namespace
