// The viewer's window messages: the loading text and the command table of the menu and the
// keyboard accelerators. Every message then goes on to the framework's handler.
#include <windows.h>

#include <cstring>

#include "framework/error_reporting.h"
#include "resources/resource_ids.h"
#include "viewer/sample_positions_dialog.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_application.h"

namespace {

constexpr float kOffsetStep = 1.0f / 32.0f;

// Offsets stay within -0.5 .. +0.5: one step past either end wraps to the other side.
void StepOffsetUp(float& offset) {
    offset += kOffsetStep;
    if (offset > 0.5f) {
        offset -= 1.0f;
    }
}

void StepOffsetDown(float& offset) {
    offset -= kOffsetStep;
    if (offset < -0.5f) {
        offset += 1.0f;
    }
}

// Fix-up factors count half units; 2 (one unit) is the floor.
void LowerFixup(int& fixup) {
    if (fixup > 2) {
        --fixup;
    }
}

// 8 half units (4.0) is the ceiling: it covers ordered-grid supersampling of up to 4 per axis,
// which is what the factors compensate; beyond it the pattern's cost only grows.
constexpr int kFixupCeiling = 8;

void RaiseFixup(int& fixup) {
    if (fixup < kFixupCeiling) {
        ++fixup;
    }
}

float FloatFromBits(UINT32 bits) {
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// P and Enter. Entering single-frame mode draws one new frame and keeps it, as drawn, as the
// picture that Ctrl+S saves and the window shows again when uncovered.
void ToggleSingleFrameMode(ViewerApplication& viewer) {
    viewer.updateContinuously = !viewer.updateContinuously;
    viewer.stepPending = true;
    if (viewer.updateContinuously) {
        return;
    }
    // Should no frame be drawn now (a lost device), the next one drawn is kept.
    viewer.keepNextFrame = true;
    if (viewer.device != nullptr) {
        static_cast<void>(viewer.StepFrame());
    }
}

// After a modal dialog: running, the next frame repaints the area it covered; frozen, the
// WM_PAINT that its closing sends shows the frozen frame again.
void RequestFrameAfterDialog(ViewerApplication& viewer) {
    if (viewer.updateContinuously) {
        viewer.stepPending = true;
    }
}

void SaveOutput(ViewerApplication& viewer) {
    viewer.SaveOutputImage();
    RequestFrameAfterDialog(viewer);
}

// F3: the measurement draws off-screen and leaves the picture alone.
void SamplePositions(ViewerApplication& viewer) {
    ShowSamplePositions(viewer);
    RequestFrameAfterDialog(viewer);
}

using CommandEffect = void (*)(ViewerApplication&);

struct ViewerCommand {
    WORD id;
    CommandEffect effect;
    bool rebuild;       // grid, point size or an offset changed: refill the pattern resources
    bool checks;        // the menu shows this setting
    bool requestFrame;  // draw a frame showing the change, even in single-frame mode
};

using App = ViewerApplication;

constexpr ViewerCommand kCommands[] = {
    {IDM_SAVE_OUTPUT, SaveOutput, false, false, false},
    {IDM_SAMPLE_POSITIONS, SamplePositions, false, false, false},
    {IDM_GRID_32, [](App& a) { a.gridSize = 32; }, true, true, true},
    {IDM_GRID_64, [](App& a) { a.gridSize = 64; }, true, true, true},
    {IDM_GRID_96, [](App& a) { a.gridSize = 96; }, true, true, true},
    {IDM_GRID_128, [](App& a) { a.gridSize = 128; }, true, true, true},
    {IDM_POINT_SIZE_8, [](App& a) { a.pointSize = 0.125f; }, true, true, true},
    {IDM_POINT_SIZE_12, [](App& a) { a.pointSize = FloatFromBits(0x3DAAAAAB); }, true, true, true},
    {IDM_POINT_SIZE_16, [](App& a) { a.pointSize = 0.0625f; }, true, true, true},
    {IDM_POINT_SIZE_24, [](App& a) { a.pointSize = FloatFromBits(0x3D2AAAAB); }, true, true, true},
    {IDM_POINT_SIZE_32, [](App& a) { a.pointSize = 0.03125f; }, true, true, true},
    {IDM_POINT_SIZE_64, [](App& a) { a.pointSize = 0.015625f; }, true, true, true},
    {IDM_MODE_GEOMETRY, [](App& a) { a.drawMode = DrawModeGeometry; }, false, true, true},
    {IDM_MODE_TEXTURE, [](App& a) { a.drawMode = DrawModeTexture; }, false, true, true},
    {IDM_MODE_BOTH, [](App& a) { a.drawMode = DrawModeBoth; }, false, true, true},
    {IDM_MODE_THREE_SQUARE, [](App& a) { a.drawMode = DrawModeThreeSquare; }, false, true, true},
    {IDM_CYCLE_MODE, [](App& a) { a.drawMode = (a.drawMode + 1) % 4; }, false, true, true},
    {IDM_SHOW_HIGHLIGHT, [](App& a) { a.showHighlight = a.showHighlight ? 0 : 1; }, false, true,
     true},
    {IDM_INVERT_COLOURS, [](App& a) { a.whiteBackground = a.whiteBackground ? 0 : 1; }, false,
     true, true},
    {IDM_GEOMETRY_OFFSET_UP, [](App& a) { StepOffsetUp(a.geometryOffsetY); }, true, false, true},
    {IDM_GEOMETRY_OFFSET_DOWN, [](App& a) { StepOffsetDown(a.geometryOffsetY); }, true, false,
     true},
    {IDM_GEOMETRY_OFFSET_LEFT, [](App& a) { StepOffsetUp(a.geometryOffsetX); }, true, false, true},
    {IDM_GEOMETRY_OFFSET_RIGHT, [](App& a) { StepOffsetDown(a.geometryOffsetX); }, true, false,
     true},
    {IDM_TEXTURE_OFFSET_LEFT, [](App& a) { StepOffsetDown(a.textureOffsetX); }, true, false, true},
    {IDM_TEXTURE_OFFSET_RIGHT, [](App& a) { StepOffsetUp(a.textureOffsetX); }, true, false, true},
    {IDM_TEXTURE_OFFSET_UP, [](App& a) { StepOffsetDown(a.textureOffsetY); }, true, false, true},
    {IDM_TEXTURE_OFFSET_DOWN, [](App& a) { StepOffsetUp(a.textureOffsetY); }, true, false, true},
    {IDM_FIXUP_Y_UP, [](App& a) { RaiseFixup(a.supersampleFixupY); }, false, false, true},
    {IDM_FIXUP_Y_DOWN, [](App& a) { LowerFixup(a.supersampleFixupY); }, false, false, true},
    {IDM_FIXUP_X_UP, [](App& a) { RaiseFixup(a.supersampleFixupX); }, false, false, true},
    {IDM_FIXUP_X_DOWN, [](App& a) { LowerFixup(a.supersampleFixupX); }, false, false, true},
    // Both draw their frame themselves.
    {IDM_SINGLE_FRAME, ToggleSingleFrameMode, false, false, false},
    {IDM_REPAINT,
     [](App& a) {
         a.updateContinuously = true;
         ToggleSingleFrameMode(a);
     },
     false, false, false},
};

const ViewerCommand* FindCommand(WORD id) {
    for (const ViewerCommand& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

void PaintLoadingText(HWND window) {
    HDC context = GetDC(window);
    if (context == nullptr) {
        return;
    }
    char text[64];
    wsprintfA(text, "Loading... Please wait");
    RECT client = {};
    GetClientRect(window, &client);
    DrawTextA(context, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ReleaseDC(window, context);
}

}  // namespace

bool HandleViewerCommand(ViewerApplication& viewer, WORD id) {
    // Ctrl+1..0 and Ctrl+Shift+1..0 send the first twenty; the last twelve have no key.
    const WORD maskBit = static_cast<WORD>(id - IDM_MASK_BIT_FIRST);
    if (maskBit <= IDM_MASK_BIT_LAST - IDM_MASK_BIT_FIRST) {
        viewer.sampleMask ^= 1u << maskBit;
        viewer.stepPending = true;
        return true;
    }
    const ViewerCommand* command = FindCommand(id);
    if (command == nullptr) {
        return false;
    }
    command->effect(viewer);
    if (command->checks) {
        viewer.UpdateMenuChecks();
    }
    if (command->requestFrame) {
        viewer.stepPending = true;
    }
    // Without a device the next device's CreateDeviceResources builds from the new settings.
    if (command->rebuild && viewer.device != nullptr &&
        FAILED(viewer.RebuildPatternResources())) {
        static_cast<void>(ReportError(AppErrorMediaNotFound, NoticeFatal));
    }
    return true;
}

LRESULT ViewerApplication::HandleWindowMessage(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_PAINT && loadingTextVisible) {
        PaintLoadingText(window);
    } else if (message == WM_PAINT && !updateContinuously && windowed && device != nullptr) {
        PaintFrozenFrame(window);
    } else if (message == WM_COMMAND) {
        static_cast<void>(HandleViewerCommand(*this, LOWORD(wParam)));
    }
    return ApplicationFramework::HandleWindowMessage(window, message, wParam, lParam);
}
