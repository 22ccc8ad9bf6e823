// The viewer's commands: offsets with their wrap, the mode cycle, fix-up floor and ceiling, mask
// bits, the single-frame controls and the save tail, which commands rebuild and request a frame,
// the menu check marks on the real menu, the loading text and the hand-over to the framework.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/common_dialog_answer.h"
#include "support/fake_device.h"
#include "support/fake_platform.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_fixture.h"

namespace {

using fakes::FakeSurface;
using viewer_tests::BitsOf;
using viewer_tests::ViewerFixture;

// Every viewer field a command may change, for before/after comparisons.
struct ViewerState {
    int drawMode, gridSize;
    DWORD sampleMask;
    float pointSize;
    BOOL showHighlight, whiteBackground;
    int fixupX, fixupY;
    float geoX, geoY, texX, texY;
    bool updateContinuously, stepPending;

    static ViewerState Of(const ViewerApplication& a) {
        return {a.drawMode,          a.gridSize,          a.sampleMask,      a.pointSize,
                a.showHighlight,     a.whiteBackground,   a.supersampleFixupX, a.supersampleFixupY,
                a.geometryOffsetX,   a.geometryOffsetY,   a.textureOffsetX,  a.textureOffsetY,
                a.updateContinuously, a.stepPending};
    }
    bool operator==(const ViewerState& o) const {
        return drawMode == o.drawMode && gridSize == o.gridSize && sampleMask == o.sampleMask &&
               pointSize == o.pointSize && showHighlight == o.showHighlight &&
               whiteBackground == o.whiteBackground && fixupX == o.fixupX && fixupY == o.fixupY &&
               geoX == o.geoX && geoY == o.geoY && texX == o.texX && texY == o.texY &&
               updateContinuously == o.updateContinuously && stepPending == o.stepPending;
    }
};

class ViewerCommands : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        CreateAndRestore();
    }

    void Send(WORD command) { ASSERT_TRUE(HandleViewerCommand(*app, command)) << command; }

    int PointBufferLocks() {
        return fakes::FakeVertexBuffer::From(app->quadVertexBuffer)->lockCount;
    }
};

// --- Offsets -------------------------------------------------------------------------------

struct OffsetCase {
    const char* name;
    WORD command;
    float ViewerApplication::*field;
    float start;
    std::vector<int> thirtySeconds;  // the value after each press, in 1/32
};

class OffsetSteps : public ViewerCommands, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(OffsetSteps, MoveByOneThirtySecondAndWrapPastHalfAPixel) {
    const OffsetCase& c = GetParam();
    (*app).*c.field = c.start;
    for (size_t press = 0; press < c.thirtySeconds.size(); ++press) {
        const int locks = PointBufferLocks();
        app->stepPending = false;
        Send(c.command);
        EXPECT_EQ(c.thirtySeconds[press] / 32.0f, (*app).*c.field) << "after press " << press + 1;
        EXPECT_TRUE(app->stepPending);
        EXPECT_EQ(locks + 1, PointBufferLocks()) << "an offset change rebuilds the pattern";
    }
}

std::vector<int> Range(int from, int to) {
    std::vector<int> values;
    for (int v = from; from <= to ? v <= to : v >= to; v += from <= to ? 1 : -1) values.push_back(v);
    return values;
}

std::vector<int> Then(std::vector<int> a, std::vector<int> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using App = ViewerApplication;

INSTANTIATE_TEST_SUITE_P(
    Keys, OffsetSteps,
    ::testing::Values(
        // Eighteen Up presses: +16/32 after the sixteenth, then -15/32 and -14/32.
        OffsetCase{"EighteenUp", IDM_GEOMETRY_OFFSET_UP, &App::geometryOffsetY, 0.0f,
                   Then(Range(1, 16), {-15, -14})},
        OffsetCase{"DownPastMinusHalf", IDM_GEOMETRY_OFFSET_DOWN, &App::geometryOffsetY, 0.0f,
                   Then(Range(-1, -16), {15})},
        OffsetCase{"UpFromPlusHalf", IDM_GEOMETRY_OFFSET_UP, &App::geometryOffsetY, 0.5f, {-15}},
        OffsetCase{"DownFromMinusHalf", IDM_GEOMETRY_OFFSET_DOWN, &App::geometryOffsetY, -0.5f,
                   {15}},
        OffsetCase{"LeftRaisesGeometryX", IDM_GEOMETRY_OFFSET_LEFT, &App::geometryOffsetX, 0.0f,
                   {1, 2}},
        OffsetCase{"RightLowersGeometryX", IDM_GEOMETRY_OFFSET_RIGHT, &App::geometryOffsetX,
                   -0.4375f, {-15, -16, 15}},
        // The texture offsets are shown negated: Shift+Left lowers the stored value.
        OffsetCase{"ShiftLeftLowersTextureX", IDM_TEXTURE_OFFSET_LEFT, &App::textureOffsetX, 0.0f,
                   {-1}},
        OffsetCase{"ShiftRightRaisesTextureX", IDM_TEXTURE_OFFSET_RIGHT, &App::textureOffsetX,
                   0.46875f, {16, -15}},
        OffsetCase{"ShiftUpLowersTextureY", IDM_TEXTURE_OFFSET_UP, &App::textureOffsetY, 0.0f,
                   {-1, -2}},
        OffsetCase{"ShiftDownRaisesTextureY", IDM_TEXTURE_OFFSET_DOWN, &App::textureOffsetY, 0.0f,
                   {1}}),
    [](const ::testing::TestParamInfo<OffsetCase>& info) { return std::string(info.param.name); });

TEST_F(ViewerCommands, OffsetCommandsMoveOnlyTheirOwnOffset) {
    Send(IDM_GEOMETRY_OFFSET_UP);
    Send(IDM_TEXTURE_OFFSET_RIGHT);
    EXPECT_EQ(0.0f, app->geometryOffsetX);
    EXPECT_EQ(1 / 32.0f, app->geometryOffsetY);
    EXPECT_EQ(1 / 32.0f, app->textureOffsetX);
    EXPECT_EQ(0.0f, app->textureOffsetY);
}

// --- Settings ------------------------------------------------------------------------------

TEST_F(ViewerCommands, ModeCycleRunsThreeSquareBothGeometryTexture) {
    const int expected[] = {DrawModeBoth, DrawModeGeometry, DrawModeTexture, DrawModeThreeSquare,
                            DrawModeBoth};
    for (int mode : expected) {
        Send(IDM_CYCLE_MODE);
        EXPECT_EQ(mode, app->drawMode);
    }
}

TEST_F(ViewerCommands, FixupsNeverDropBelowTwo) {
    Send(IDM_FIXUP_Y_DOWN);
    EXPECT_EQ(2, app->supersampleFixupY);
    Send(IDM_FIXUP_Y_UP);
    EXPECT_EQ(3, app->supersampleFixupY);
    Send(IDM_FIXUP_Y_DOWN);
    Send(IDM_FIXUP_Y_DOWN);
    EXPECT_EQ(2, app->supersampleFixupY);

    Send(IDM_FIXUP_X_UP);
    Send(IDM_FIXUP_X_UP);
    EXPECT_EQ(4, app->supersampleFixupX);
    Send(IDM_FIXUP_X_DOWN);
    Send(IDM_FIXUP_X_DOWN);
    Send(IDM_FIXUP_X_DOWN);
    EXPECT_EQ(2, app->supersampleFixupX);
    EXPECT_EQ(2, app->supersampleFixupY);
}

TEST_F(ViewerCommands, FixupsStopAtFourTimes) {
    // Ctrl+Up and Ctrl+Left: 8 half units is the ceiling; the way down is as before.
    for (int press = 0; press < 10; ++press) {
        Send(IDM_FIXUP_Y_UP);
        Send(IDM_FIXUP_X_UP);
    }
    EXPECT_EQ(8, app->supersampleFixupY);
    EXPECT_EQ(8, app->supersampleFixupX);
    app->stepPending = false;
    Send(IDM_FIXUP_X_UP);
    EXPECT_EQ(8, app->supersampleFixupX);
    EXPECT_TRUE(app->stepPending) << "the key still draws its frame";
    Send(IDM_FIXUP_Y_DOWN);
    EXPECT_EQ(7, app->supersampleFixupY);
    Send(IDM_FIXUP_Y_UP);
    EXPECT_EQ(8, app->supersampleFixupY);
}

TEST_F(ViewerCommands, MaskCommandsToggleOneBitEach) {
    const struct {
        WORD command;
        int bit;
    } cases[] = {{40035, 0}, {40044, 9},  {40045, 10}, {40054, 19},
                 {40055, 20}, {40066, 31}};  // Ctrl+1, Ctrl+0, Ctrl+Shift+1, Ctrl+Shift+0, no key
    for (const auto& c : cases) {
        app->sampleMask = 0xFFFFFFFF;
        app->stepPending = false;
        Send(c.command);
        EXPECT_EQ(~(1u << c.bit), app->sampleMask) << c.command;
        EXPECT_TRUE(app->stepPending) << c.command;
        Send(c.command);
        EXPECT_EQ(0xFFFFFFFFu, app->sampleMask) << c.command;
    }
    // The neighbours of the range are other commands.
    Send(IDM_MODE_THREE_SQUARE);
    Send(IDM_FIXUP_Y_UP);
    EXPECT_EQ(0xFFFFFFFFu, app->sampleMask);
}

TEST_F(ViewerCommands, SettingCommandsSetTheirValueAndRebuildOnlyForThePattern) {
    const struct {
        WORD command;
        bool rebuild;
        bool (*holds)(const ViewerApplication&);
    } cases[] = {
        {IDM_GRID_32, true, [](const App& a) { return a.gridSize == 32; }},
        {IDM_GRID_96, true, [](const App& a) { return a.gridSize == 96; }},
        {IDM_GRID_128, true, [](const App& a) { return a.gridSize == 128; }},
        {IDM_GRID_64, true, [](const App& a) { return a.gridSize == 64; }},
        {IDM_POINT_SIZE_12, true, [](const App& a) { return BitsOf(a.pointSize) == 0x3DAAAAABu; }},
        {IDM_POINT_SIZE_24, true, [](const App& a) { return BitsOf(a.pointSize) == 0x3D2AAAABu; }},
        {IDM_POINT_SIZE_16, true, [](const App& a) { return a.pointSize == 0.0625f; }},
        {IDM_POINT_SIZE_32, true, [](const App& a) { return a.pointSize == 0.03125f; }},
        {IDM_POINT_SIZE_64, true, [](const App& a) { return a.pointSize == 0.015625f; }},
        {IDM_POINT_SIZE_8, true, [](const App& a) { return a.pointSize == 0.125f; }},
        {IDM_MODE_GEOMETRY, false, [](const App& a) { return a.drawMode == DrawModeGeometry; }},
        {IDM_MODE_TEXTURE, false, [](const App& a) { return a.drawMode == DrawModeTexture; }},
        {IDM_MODE_BOTH, false, [](const App& a) { return a.drawMode == DrawModeBoth; }},
        {IDM_MODE_THREE_SQUARE, false,
         [](const App& a) { return a.drawMode == DrawModeThreeSquare; }},
        {IDM_SHOW_HIGHLIGHT, false, [](const App& a) { return a.showHighlight == 0; }},
        {IDM_SHOW_HIGHLIGHT, false, [](const App& a) { return a.showHighlight == 1; }},
        {IDM_INVERT_COLOURS, false, [](const App& a) { return a.whiteBackground == 0; }},
        {IDM_INVERT_COLOURS, false, [](const App& a) { return a.whiteBackground == 1; }},
        {IDM_FIXUP_X_UP, false, [](const App& a) { return a.supersampleFixupX == 3; }},
        {40040, false, [](const App& a) { return a.sampleMask == ~(1u << 5); }},
    };
    for (const auto& c : cases) {
        const int locks = PointBufferLocks();
        app->stepPending = false;
        Send(c.command);
        EXPECT_TRUE(c.holds(*app)) << c.command;
        EXPECT_TRUE(app->stepPending) << c.command;
        EXPECT_EQ(locks + (c.rebuild ? 1 : 0), PointBufferLocks()) << c.command;
    }
}

TEST_F(ViewerCommands, FrameworkAndUnknownCommandsAreLeftAlone) {
    app->stepPending = false;
    app->updateContinuously = false;
    const ViewerState before = ViewerState::Of(*app);
    const int presents = device->presentCount;
    const WORD others[] = {IDM_CHANGEDEVICE, IDM_TOGGLEFULLSCREEN, IDM_EXIT, 0, 40010, 40071,
                           40072, 40077};
    for (WORD command : others) {
        EXPECT_FALSE(HandleViewerCommand(*app, command)) << command;
    }
    EXPECT_TRUE(before == ViewerState::Of(*app));
    EXPECT_EQ(presents, device->presentCount);
}

TEST_F(ViewerCommands, FailedRebuildIsFatalButKeepsTheNewSetting) {
    device->createVertexBufferResult = D3DERR_OUTOFVIDEOMEMORY;
    Send(IDM_GRID_96);
    EXPECT_EQ(96, app->gridSize);
    ASSERT_EQ(1u, fake_platform::messageBoxes.size());
    EXPECT_EQ("Could not load required media.\n\nThis sample will now exit.",
              fake_platform::messageBoxes[0].text);
    EXPECT_EQ("DX9 Quillant 5.2", fake_platform::messageBoxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), fake_platform::messageBoxes[0].type & MB_ICONMASK);
}

// --- Single-frame mode and the save tail ---------------------------------------------------

// The call log reduced to the calls that matter here.
std::vector<std::string> FrameCalls(const fakes::FakeDevice& device) {
    std::vector<std::string> calls;
    for (const std::string& call : device.calls) {
        if (call == "Present" || call == "BeginScene" || call == "EndScene" || call == "StretchRect" ||
            call == "GetRenderTargetData" || call.rfind("GetFrontBufferData", 0) == 0) {
            calls.push_back(call);
        }
    }
    return calls;
}

// One frame drawn, resolved, read back for the window and for the save, then presented.
const std::vector<std::string> kKeptFrame = {"BeginScene", "EndScene", "StretchRect", "GetRenderTargetData",
                                             "GetRenderTargetData", "Present"};

// Marks the back buffer so that a copy of it can be told from the frames before.
void PaintBackBuffer(fakes::FakeDevice& device, BYTE value) {
    std::fill(device.backBuffer->bytes.begin(), device.backBuffer->bytes.end(), value);
}

TEST_F(ViewerCommands, EnteringSingleFrameModeKeepsTheFrameItDrawsBeforePresentingIt) {
    PaintBackBuffer(*device, 0x5A);
    device->ClearCalls();
    Send(IDM_SINGLE_FRAME);
    EXPECT_FALSE(app->updateContinuously);
    EXPECT_FALSE(app->stepPending) << "the frame it asked for has been drawn";
    EXPECT_FALSE(app->keepNextFrame);
    EXPECT_EQ(kKeptFrame, FrameCalls(*device));
    for (IDirect3DSurface9* copy : {app->frontBufferCopy, app->shownFrame}) {
        const FakeSurface* kept = FakeSurface::From(copy);
        ASSERT_NE(nullptr, kept);
        EXPECT_EQ(D3DPOOL_SYSTEMMEM, kept->desc.Pool);
        EXPECT_EQ(0x5A5A5A5Au, kept->PixelAt(3, 4));
    }
    EXPECT_NE(app->frontBufferCopy, app->shownFrame);
    EXPECT_EQ(0, device->misuseCount) << device->lastMisuse;
}

TEST_F(ViewerCommands, LeavingSingleFrameModeOnlyRequestsAFrame) {
    Send(IDM_SINGLE_FRAME);
    device->ClearCalls();
    Send(IDM_SINGLE_FRAME);
    EXPECT_TRUE(app->updateContinuously);
    EXPECT_TRUE(app->stepPending);
    EXPECT_TRUE(FrameCalls(*device).empty());
    // Running frames are not read back.
    ASSERT_EQ(S_OK, app->RenderFrame());
    EXPECT_EQ((std::vector<std::string>{"BeginScene", "EndScene"}), FrameCalls(*device));
}

TEST_F(ViewerCommands, EverySpaceKeepsItsOwnNewFrameInWindowAndFullscreen) {
    for (int press = 0; press < 3; ++press) {
        app->windowed = press != 2;
        PaintBackBuffer(*device, static_cast<BYTE>(0x10 + press));
        device->ClearCalls();
        Send(IDM_REPAINT);
        EXPECT_FALSE(app->updateContinuously) << press;
        EXPECT_EQ(kKeptFrame, FrameCalls(*device)) << press;
        EXPECT_EQ(0x01010101u * static_cast<DWORD>(0x10 + press),
                  FakeSurface::From(app->frontBufferCopy)->PixelAt(0, 0)) << press;
    }
    app->windowed = true;
    // Enter then resumes, and enters again.
    Send(IDM_SINGLE_FRAME);
    EXPECT_TRUE(app->updateContinuously);
    Send(IDM_SINGLE_FRAME);
    EXPECT_FALSE(app->updateContinuously);
}

TEST_F(ViewerCommands, SettingChangedInSingleFrameModeIsShownButTheSaveKeepsTheFrozenFrame) {
    PaintBackBuffer(*device, 0x11);
    Send(IDM_SINGLE_FRAME);
    PaintBackBuffer(*device, 0x22);
    device->ClearCalls();
    Send(IDM_INVERT_COLOURS);
    EXPECT_TRUE(app->stepPending);
    ASSERT_EQ(S_OK, app->StepFrame());
    EXPECT_EQ((std::vector<std::string>{"BeginScene", "EndScene", "StretchRect", "GetRenderTargetData", "Present"}),
              FrameCalls(*device));
    EXPECT_EQ(0x11111111u, FakeSurface::From(app->frontBufferCopy)->PixelAt(0, 0));
    EXPECT_EQ(0x22222222u, FakeSurface::From(app->shownFrame)->PixelAt(0, 0));
}

TEST_F(ViewerCommands, FrozenFrameShownTwiceAtANewSizeIsKeptOnce) {
    // Only the client size matters here: a window that nobody sees stands in for the program's.
    app->mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, app->mainWindow);
    PaintBackBuffer(*device, 0x11);
    Send(IDM_SINGLE_FRAME);
    SetWindowPos(app->mainWindow, nullptr, 0, 0, 240, 100, SWP_NOMOVE | SWP_NOZORDER);
    app->stepPending = true;
    PaintBackBuffer(*device, 0x33);
    device->ClearCalls();
    ASSERT_EQ(S_OK, app->StepFrame());
    // The drawing repeated for the second presentation is the same picture: nothing read again.
    EXPECT_EQ((std::vector<std::string>{"BeginScene", "EndScene", "StretchRect", "GetRenderTargetData", "Present",
                                        "BeginScene", "EndScene", "Present"}),
              FrameCalls(*device));
    EXPECT_EQ(0x33333333u, FakeSurface::From(app->shownFrame)->PixelAt(0, 0));
    EXPECT_EQ(0x11111111u, FakeSurface::From(app->frontBufferCopy)->PixelAt(0, 0)) << "the saved picture stays";
    DestroyWindow(app->mainWindow);
    app->mainWindow = nullptr;
}

TEST_F(ViewerCommands, FrozenPictureOfAnotherSizeThanTheBackBufferIsDrawnAgainNotPainted) {
    PaintBackBuffer(*device, 0x11);
    Send(IDM_SINGLE_FRAME);
    ASSERT_NE(nullptr, app->shownFrame);
    app->stepPending = false;
    app->PaintFrozenFrame(nullptr);
    EXPECT_FALSE(app->stepPending) << "a picture of the back buffer's size is shown as it is";
    // The window got pixels back at another size, with no frame drawn since.
    app->backBufferDesc.Width += 8;
    app->PaintFrozenFrame(nullptr);
    EXPECT_TRUE(app->stepPending);
}

TEST_F(ViewerCommands, FreezingWithALostDeviceKeepsTheFirstFrameDrawnAfterwards) {
    app->deviceLost = true;  // seen at the last Present
    device->testCooperativeLevelResults = {D3DERR_DEVICELOST};
    device->ClearCalls();
    Send(IDM_REPAINT);
    EXPECT_TRUE(FrameCalls(*device).empty());
    EXPECT_TRUE(app->keepNextFrame);
    EXPECT_EQ(nullptr, app->frontBufferCopy);

    PaintBackBuffer(*device, 0x33);
    ASSERT_EQ(S_OK, app->StepFrame());  // the device is back
    EXPECT_FALSE(app->keepNextFrame);
    ASSERT_NE(nullptr, app->frontBufferCopy);
    EXPECT_EQ(0x33333333u, FakeSurface::From(app->frontBufferCopy)->PixelAt(0, 0));
}

TEST_F(ViewerCommands, SaveTailRequestsAFrameOnlyWhileRunning) {
    test_support::AnswerDialogs cancel;  // Esc on the save dialog
    // Running: the next frame repaints.
    app->stepPending = false;
    device->ClearCalls();
    Send(IDM_SAVE_OUTPUT);
    EXPECT_TRUE(app->stepPending);
    EXPECT_TRUE(FrameCalls(*device).empty());

    // Single frame: nothing is drawn or presented; the closed dialog's WM_PAINT shows the frame.
    for (bool windowed : {true, false}) {
        app->windowed = windowed;
        app->updateContinuously = false;
        app->stepPending = false;
        device->ClearCalls();
        Send(IDM_SAVE_OUTPUT);
        EXPECT_FALSE(app->stepPending);
        EXPECT_TRUE(FrameCalls(*device).empty());
    }
}

// --- Menu check marks on the real menu -----------------------------------------------------

// A window with the real menu whose messages reach the application as the main window's do.
HWND CreateMenuWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Quillant Viewer Command Test";
    static_cast<void>(RegisterClassA(&windowClass));
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    return CreateWindowExA(0, windowClass.lpszClassName, "test", WS_OVERLAPPEDWINDOW, 0, 0, 512,
                           384, nullptr, menu, windowClass.hInstance, nullptr);
}

class MenuChecks : public ViewerCommands {
protected:
    void SetUp() override {
        ViewerCommands::SetUp();
        window = CreateMenuWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_NE(nullptr, GetMenu(window)) << "menu 141 is not linked into the test program";
        app->mainWindow = window;
    }
    void TearDown() override {
        app->mainWindow = nullptr;
        DestroyWindow(window);
        ViewerCommands::TearDown();
    }

    // The state of an item of the Settings popup (popup -1) or of one of its popups.
    UINT State(int popup, UINT position) {
        HMENU settings = GetSubMenu(GetMenu(window), 1);
        HMENU menu = popup < 0 ? settings : GetSubMenu(settings, popup);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STATE;
        EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &item));
        return item.fState & (MFS_CHECKED | MFS_GRAYED);
    }

    // The checked positions of a popup, as a string of 0 and 1.
    std::string Checks(int popup, UINT count) {
        std::string marks;
        for (UINT p = 0; p < count; ++p) marks += (State(popup, p) & MFS_CHECKED) ? '1' : '0';
        return marks;
    }

    HWND window = nullptr;
};

TEST_F(MenuChecks, DefaultsAreCheckedAfterDeviceCreation) {
    ASSERT_EQ(S_OK, app->CreateDeviceResources());
    EXPECT_EQ("0100", Checks(0, 4));
    EXPECT_EQ("100000", Checks(1, 6));
    EXPECT_EQ("0001", Checks(2, 4));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State(-1, 4));
    EXPECT_EQ(0u, State(-1, 6));
    // The device can draw the largest grid, so its item is enabled again.
    EXPECT_EQ(0u, State(0, 3));
}

TEST_F(MenuChecks, CommandsMoveTheirCheckMarks) {
    Send(IDM_GRID_96);
    EXPECT_EQ("0010", Checks(0, 4));
    Send(IDM_GRID_128);
    EXPECT_EQ("0001", Checks(0, 4));
    Send(IDM_MODE_GEOMETRY);
    EXPECT_EQ("1000", Checks(2, 4));
    Send(IDM_CYCLE_MODE);
    EXPECT_EQ("0100", Checks(2, 4));
    Send(IDM_MODE_BOTH);
    EXPECT_EQ("0010", Checks(2, 4));
    Send(IDM_SHOW_HIGHLIGHT);
    EXPECT_EQ(0u, State(-1, 4));
    Send(IDM_INVERT_COLOURS);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State(-1, 6));
}

TEST_F(MenuChecks, PointSizesAreCheckedThroughTheRoundedReciprocal) {
    const struct {
        WORD command;
        const char* marks;
    } cases[] = {{IDM_POINT_SIZE_12, "010000"}, {IDM_POINT_SIZE_16, "001000"},
                 {IDM_POINT_SIZE_24, "000100"}, {IDM_POINT_SIZE_32, "000010"},
                 {IDM_POINT_SIZE_64, "000001"}, {IDM_POINT_SIZE_8, "100000"}};
    for (const auto& c : cases) {
        Send(c.command);
        EXPECT_EQ(c.marks, Checks(1, 6)) << c.command;
    }
}

TEST_F(MenuChecks, LargestGridIsGrayedWhenTheDeviceCannotDrawIt) {
    app->deviceCaps.MaxVertexIndex = 65535;
    Send(IDM_GRID_128);
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED), State(0, 3)) << "grayed and never checked";
    EXPECT_EQ("000", Checks(0, 3));

    app->deviceCaps.MaxVertexIndex = 0xFFFFFF;
    app->deviceCaps.MaxPrimitiveCount = 98313;
    app->UpdateMenuChecks();
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED), State(0, 3));

    app->deviceCaps.MaxPrimitiveCount = 98314;
    app->UpdateMenuChecks();
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State(0, 3));
}

TEST_F(MenuChecks, ChangesMadeInFullscreenShowWhenTheMenuIsBack) {
    app->windowed = false;
    app->ApplyWindowStyleForMode();  // fullscreen takes the menu off
    ASSERT_EQ(nullptr, GetMenu(window));
    Send(IDM_CYCLE_MODE);
    Send(IDM_INVERT_COLOURS);
    Send(IDM_POINT_SIZE_32);
    app->deviceCaps.MaxVertexIndex = 65535;  // a device that cannot draw the largest grid
    Send(IDM_GRID_128);
    app->windowed = true;
    app->ApplyWindowStyleForMode();
    ASSERT_NE(nullptr, GetMenu(window));
    EXPECT_EQ("0010", Checks(2, 4)) << "Both";
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State(-1, 6)) << "Invert Colours";
    EXPECT_EQ("000010", Checks(1, 6));
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED), State(0, 3));
}

TEST_F(MenuChecks, NoMenuMeansNothingToCheck) {
    SetMenu(window, nullptr);
    app->UpdateMenuChecks();  // must not touch anything
    EXPECT_EQ(nullptr, GetMenu(window));
}

// --- Messages ------------------------------------------------------------------------------

// Counts the pixels of the client area that are not white (copied out in one go).
int InkedPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowContext = GetDC(window);
    HDC memory = CreateCompatibleDC(windowContext);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowContext, 0, 0, SRCCOPY);
    GdiFlush();
    int inked = 0;
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (LONG i = 0; i < client.right * client.bottom; ++i) {
        if ((pixels[i] & 0xFFFFFF) != 0xFFFFFF) ++inked;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowContext);
    return inked;
}

void PaintWhite(HWND window) {
    HDC context = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(context, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, context);
}

TEST_F(MenuChecks, LoadingTextIsPaintedUntilInitScene) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    PaintWhite(window);
    app->HandleWindowMessage(window, WM_PAINT, 0, 0);
    EXPECT_GT(InkedPixels(window), 20) << "the loading text is painted";

    PaintWhite(window);
    ASSERT_EQ(S_OK, app->InitScene());
    EXPECT_EQ(FALSE, app->loadingTextVisible);
    EXPECT_GT(InkedPixels(window), 20) << "InitScene paints it once more";

    PaintWhite(window);
    app->HandleWindowMessage(window, WM_PAINT, 0, 0);
    EXPECT_EQ(0, InkedPixels(window));
}

TEST_F(MenuChecks, EveryMessageGoesOnToTheFramework) {
    // A viewer command is acted on and still reaches the framework's handler ...
    app->HandleWindowMessage(window, WM_COMMAND, IDM_CYCLE_MODE, 0);
    EXPECT_EQ(DrawModeBoth, app->drawMode);
    // ... and the framework's exit closes the window through the viewer's handler.
    app->HandleWindowMessage(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, app->textFont) << "the shutdown ran CleanupScene";
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
