// The viewer's own part of a WM_COMMAND: the command table of the menu and the accelerators.
#pragma once

#include <windows.h>

class ViewerApplication;

// Acts on a viewer command (changing settings, rebuilding, checking the menu, requesting a
// frame); returns false, touching nothing, for any other identifier (the framework's included).
bool HandleViewerCommand(ViewerApplication& viewer, WORD command);
