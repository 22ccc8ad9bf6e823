// The text font on the real Direct3D 9 runtime: glyphs land where MeasureText says they do and
// nowhere else, in the caller's colour, and the caller's states survive RenderText.
#include "font/text_font.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/png_decode.h"
#include "support/present_parameters.h"
#include "support/scratch_folder.h"
#include "platform/platform.h"
#include "image/png_writer.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT kWidth = 256;
constexpr UINT kHeight = 64;

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Colour {
    int r, g, b;
};

Colour Split(DWORD pixel) {
    return {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
}

// Drawn text: any channel clearly above the black background.
bool IsLit(DWORD pixel) {
    const Colour c = Split(pixel);
    return c.r > 0x30 || c.g > 0x30 || c.b > 0x30;
}

// One window, device and font for the whole suite: a new device compiles its shaders again on
// its first draw, which costs Wine's software renderer seconds.
class TextFontRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuillantTextFontTest";
        RegisterClassA(&windowClass);
        RECT frame = {0, 0, LONG(kWidth), LONG(kHeight)};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowExA(0, "QuillantTextFontTest", "text font", WS_OVERLAPPEDWINDOW, 0,
                                  0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOWNOACTIVATE);

        direct3d_.Attach(platform::CreateDirect3D(D3D_SDK_VERSION));
        ASSERT_NE(direct3d_.Get(), nullptr);
        D3DPRESENT_PARAMETERS parameters =
            test_support::WindowedPresentParameters(kWidth, kHeight, D3DMULTISAMPLE_NONE, window_);
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        ASSERT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                          &device_),
                  D3D_OK);

        font_ = std::make_unique<TextFont>("Arial", 8, 0);
        ASSERT_EQ(font_->CreateDeviceResources(device_.Get()), S_OK);
        ASSERT_EQ(font_->RestoreDeviceResources(), S_OK);
    }

    static void TearDownTestSuite() {
        font_.reset();
        device_.Reset();
        direct3d_.Reset();
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(device_.Get(), nullptr);
        ASSERT_TRUE(font_ != nullptr && font_->vertexBuffer != nullptr);
    }

    // Clears to black, draws the text in one scene and reads the back buffer back.
    void Render(float x, float y, DWORD colour, const char* text, DWORD flags = 0) {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000,
                                 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        EXPECT_EQ(font_->RenderText(x, y, colour, text, flags), S_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        ReadBack();
    }

    void ReadBack() {
        ComPtr<IDirect3DSurface9> target;
        ASSERT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);
        copy_.Reset();
        ASSERT_EQ(device_->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8,
                                                       D3DPOOL_SYSTEMMEM, &copy_, nullptr),
                  D3D_OK);
        IDirect3DSurface9* copy = copy_.Get();
        ASSERT_EQ(device_->GetRenderTargetData(target.Get(), copy), D3D_OK);
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        pixels_.resize(kWidth * kHeight);
        for (UINT y = 0; y < kHeight; ++y) {
            const DWORD* row = reinterpret_cast<const DWORD*>(
                static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < kWidth; ++x) pixels_[y * kWidth + x] = row[x] | 0xFF000000u;
        }
        copy->UnlockRect();
        // For looking at the picture: QUILLANT_TEXT_PNG names a file to save each frame to.
        if (const char* path = std::getenv("QUILLANT_TEXT_PNG")) {
            const std::string name = std::string(path) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
            WritePngFile(name.c_str(), reinterpret_cast<const BYTE*>(pixels_.data()),
                         kWidth * 4, kWidth, kHeight);
        }
    }

    DWORD Pixel(int x, int y) const { return pixels_[size_t(y) * kWidth + size_t(x)]; }

    int LitIn(int left, int top, int right, int bottom) const {
        int lit = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, int(kHeight)); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, int(kWidth)); ++x) {
                if (IsLit(Pixel(x, y))) ++lit;
            }
        }
        return lit;
    }

    int LitTotal() const { return LitIn(0, 0, kWidth, kHeight); }

    SIZE Measure(const std::string& text) const {
        SIZE size = {};
        EXPECT_EQ(font_->MeasureText(text.c_str(), &size), S_OK);
        return size;
    }

    static HWND window_;
    static ComPtr<IDirect3D9> direct3d_;
    static ComPtr<IDirect3DDevice9> device_;
    static std::unique_ptr<TextFont> font_;
    std::vector<DWORD> pixels_;
    ComPtr<IDirect3DSurface9> copy_;  // the last read-back, in system memory
};

HWND TextFontRenderTest::window_ = nullptr;
ComPtr<IDirect3D9> TextFontRenderTest::direct3d_;
ComPtr<IDirect3DDevice9> TextFontRenderTest::device_;
std::unique_ptr<TextFont> TextFontRenderTest::font_;

TEST_F(TextFontRenderTest, EveryGlyphInksItsOwnCellAndNothingOutsideTheMeasuredBox) {
    // 56 visible characters: the last six glyphs come from the second batch.
    const std::string text = "Quillant 5.2 samples Wg|il:il:il:il:il:il:il:il:il:il:il:il";
    const int left = 12, top = 20;
    Render(float(left), float(top), 0xFFFFFFFF, text.c_str());

    const SIZE box = Measure(text);
    ASSERT_GT(box.cx, 100);
    ASSERT_LT(left + box.cx, int(kWidth));
    const int inside = LitIn(left - 1, top - 1, left + box.cx + 1, top + box.cy + 1);
    EXPECT_GT(inside, 200);
    EXPECT_EQ(LitTotal(), inside) << "text pixels outside the measured box";

    // The pen positions MeasureText gives for each prefix bound each glyph's ink.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') continue;
        const int start = left + Measure(text.substr(0, i)).cx;
        const int end = left + Measure(text.substr(0, i + 1)).cx;
        EXPECT_GT(LitIn(start, top, end, top + box.cy), 0)
            << "no ink for '" << text[i] << "' at " << i;
    }
}

TEST_F(TextFontRenderTest, BlanksAdvanceThePenButDrawNothing) {
    const int left = 20, top = 10;
    Render(float(left), float(top), 0xFFFFFFFF, "HH        HH");
    const int gapStart = left + Measure("HH").cx + 1;
    const int gapEnd = left + Measure("HH        ").cx - 1;
    ASSERT_GT(gapEnd - gapStart, 15);
    EXPECT_EQ(LitIn(gapStart, 0, gapEnd, kHeight), 0);
    EXPECT_GT(LitIn(gapEnd + 1, top, left + Measure("HH        HH").cx, top + 16), 10);
}

TEST_F(TextFontRenderTest, NewlineStartsTheNextLineAtTheStartOneLineDown) {
    const int left = 30, top = 8;
    Render(float(left), float(top), 0xFFFFFFFF, "HHHHHHHH\nH");
    const SIZE oneLine = Measure("H");
    const int line = oneLine.cy;
    const int second = top + line;
    EXPECT_GT(LitIn(left, top, left + oneLine.cx, top + line), 5);
    EXPECT_GT(LitIn(left, second, left + oneLine.cx, second + line), 5);
    // Nothing to the right of the single H on the second line.
    EXPECT_EQ(LitIn(left + oneLine.cx + 1, second + 1, kWidth, kHeight), 0);
    EXPECT_EQ(LitIn(0, second + line + 1, kWidth, kHeight), 0);
}

TEST_F(TextFontRenderTest, GlyphsTakeTheCallersColourScaledByCoverage) {
    Render(10, 10, 0xFFFFFF00, "Yellow text on black");
    int lit = 0;
    int full = 0;
    for (DWORD pixel : pixels_) {
        if (!IsLit(pixel)) continue;
        ++lit;
        const Colour c = Split(pixel);
        EXPECT_LE(c.b, 8);
        EXPECT_LE(std::abs(c.r - c.g), 8);
        if (c.r >= 0xF0) ++full;
    }
    EXPECT_GT(lit, 50);
    EXPECT_GT(full, 20) << "no glyph stem is drawn at full coverage";
}

TEST_F(TextFontRenderTest, CentredTextSitsInTheMiddleOfTheViewport) {
    const char* text = "centre";
    Render(0, 0, 0xFFFFFFFF, text, TextCenterX | TextCenterY);
    const SIZE box = Measure(text);
    const int left = (int(kWidth) - box.cx) / 2;
    const int top = (int(kHeight) - box.cy) / 2;
    const int inside = LitIn(left - 2, top - 2, left + box.cx + 2, top + box.cy + 2);
    EXPECT_GT(inside, 20);
    EXPECT_EQ(LitTotal(), inside);
}

TEST_F(TextFontRenderTest, CallersStatesAreRestoredAfterRenderText) {
    // The odd states below would otherwise stay on the shared device.
    ComPtr<IDirect3DStateBlock9> defaults;
    ASSERT_EQ(device_->CreateStateBlock(D3DSBT_ALL, &defaults), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    struct StateValue {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    const StateValue callerStates[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},         {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},      {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_ALPHATESTENABLE, FALSE},      {D3DRS_ALPHAREF, 0x40},
        {D3DRS_CULLMODE, D3DCULL_NONE},      {D3DRS_FILLMODE, D3DFILL_WIREFRAME},
        {D3DRS_COLORWRITEENABLE, 0x7},       {D3DRS_FOGENABLE, TRUE},
    };
    for (const StateValue& s : callerStates) device_->SetRenderState(s.state, s.value);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTexture(0, nullptr);

    EXPECT_EQ(font_->RenderText(4, 4, 0xFFFFFFFF, "states", TextFiltered), S_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    for (const StateValue& s : callerStates) {
        DWORD value = 0xDEADBEEF;
        device_->GetRenderState(s.state, &value);
        EXPECT_EQ(value, s.value) << "render state " << s.state;
    }
    DWORD value = 0;
    device_->GetSamplerState(0, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
    device_->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, DWORD(D3DTOP_SELECTARG1));
    device_->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, DWORD(D3DTOP_MODULATE));
    ComPtr<IDirect3DBaseTexture9> texture;
    device_->GetTexture(0, &texture);
    EXPECT_EQ(texture.Get(), nullptr);
    // What RenderText leaves set on purpose.
    device_->GetFVF(&value);
    EXPECT_EQ(value, DWORD(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    defaults->Apply();
}

TEST_F(TextFontRenderTest, FontSurvivesAReleaseResetAndRestore) {
    font_->ReleaseDeviceResources();
    D3DPRESENT_PARAMETERS parameters =
        test_support::WindowedPresentParameters(kWidth, kHeight, D3DMULTISAMPLE_NONE, window_);
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    ASSERT_EQ(device_->Reset(&parameters), D3D_OK);
    ASSERT_EQ(font_->RestoreDeviceResources(), S_OK);
    Render(8, 8, 0xFFFFFFFF, "after reset");
    EXPECT_GT(LitTotal(), 30);
}

TEST_F(TextFontRenderTest, SavedRectangleOfARealSurfaceShowsTheTextClippedToTheSurface) {
    Render(100, 30, 0xFF00FFFF, "saved");
    test_support::ScratchFolder folder;
    const std::string path = folder.Path("text.png");
    // Hanging off the right edge, as a window partly off the desktop would.
    const RECT asked = {90, 20, LONG(kWidth) + 40, 50};
    ASSERT_EQ(SaveSurfaceRectToPng(copy_.Get(), asked, path.c_str()), S_OK);
    const test_support::DecodedPng png = test_support::DecodeRgb(test_support::ReadFileBytes(path));
    ASSERT_TRUE(png.ok);
    ASSERT_EQ(png.width, kWidth - 90);
    ASSERT_EQ(png.height, 30u);
    int wrong = 0, lit = 0;
    for (UINT y = 0; y < png.height; ++y) {
        for (UINT x = 0; x < png.width; ++x) {
            const Colour want = Split(Pixel(int(x) + 90, int(y) + 20));
            const BYTE* got = &png.rgb[(y * png.width + x) * 3];
            if (got[0] != want.r || got[1] != want.g || got[2] != want.b) ++wrong;
            if (got[1] > 0x30) ++lit;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lit, 20);
}

}  // namespace
