// The check marks and the enabled state of the Settings menu, set from the viewer's fields.
#include <windows.h>

#include "pattern/point_size.h"
#include "viewer/viewer_application.h"

namespace {

// 128 x 128 points of 6 vertices and the ring's 10: what the largest grid needs of the device.
constexpr UINT kLargestGridVertices = 128 * 128 * 6 + 10;

// Where an item sits: the Settings popup itself (-1) or one of its popups, and the position.
struct MenuItemCheck {
    int popup;
    UINT position;
    UINT (*state)(const ViewerApplication&);
};

UINT CheckedIf(bool condition) { return condition ? MFS_CHECKED : 0; }

UINT LargestGridState(const ViewerApplication& a) {
    if (a.deviceCaps.MaxPrimitiveCount < kLargestGridVertices ||
        a.deviceCaps.MaxVertexIndex < kLargestGridVertices) {
        return MFS_GRAYED;
    }
    return CheckedIf(a.gridSize == 128);
}

using App = ViewerApplication;

constexpr MenuItemCheck kChecks[] = {
    {0, 0, [](const App& a) { return CheckedIf(a.gridSize == 32); }},
    {0, 1, [](const App& a) { return CheckedIf(a.gridSize == 64); }},
    {0, 2, [](const App& a) { return CheckedIf(a.gridSize == 96); }},
    {0, 3, LargestGridState},
    {1, 0, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 8); }},
    {1, 1, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 12); }},
    {1, 2, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 16); }},
    {1, 3, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 24); }},
    {1, 4, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 32); }},
    {1, 5, [](const App& a) { return CheckedIf(PointSizeDenominator(a.pointSize) == 64); }},
    {2, 0, [](const App& a) { return CheckedIf(a.drawMode == DrawModeGeometry); }},
    {2, 1, [](const App& a) { return CheckedIf(a.drawMode == DrawModeTexture); }},
    {2, 2, [](const App& a) { return CheckedIf(a.drawMode == DrawModeBoth); }},
    {2, 3, [](const App& a) { return CheckedIf(a.drawMode == DrawModeThreeSquare); }},
    {-1, 4, [](const App& a) { return CheckedIf(a.showHighlight != 0); }},
    {-1, 6, [](const App& a) { return CheckedIf(a.whiteBackground == 0); }},
};

constexpr int kSettingsPosition = 1;

}  // namespace

void ViewerApplication::UpdateMenuChecks() {
    // A fullscreen window has its menu taken off; the marks are kept on it all the same, so the
    // menu is right whenever Alt+Enter or the settings dialog puts it back.
    HMENU menu = GetMenu(mainWindow);
    if (menu == nullptr) {
        menu = detachedMenu;
    }
    if (menu == nullptr) {
        return;
    }
    HMENU settingsMenu = GetSubMenu(menu, kSettingsPosition);
    if (settingsMenu == nullptr) {
        return;
    }
    for (const MenuItemCheck& check : kChecks) {
        HMENU popup = check.popup < 0 ? settingsMenu : GetSubMenu(settingsMenu, check.popup);
        if (popup == nullptr) {
            continue;
        }
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STATE;
        // The state is replaced whole, which also enables an item set to 0 or checked.
        item.fState = check.state(*this);
        static_cast<void>(SetMenuItemInfoA(popup, check.position, TRUE, &item));
    }
}
