// The viewer's command line: nothing, or --d3d9 FILE to draw with another Direct3D 9
// implementation than the system's.
#pragma once

#include <string>
#include <vector>

struct ViewerCommandLine {
    std::string direct3dLibrary;  // the d3d9.dll to load; empty for the system's
    std::string error;            // what is wrong with the line, a sentence; empty when it is good
};

// The arguments after the program's name: "--d3d9 FILE" or "--d3d9=FILE" (a later one wins). A
// file that is not there, an unknown option or a stray argument is an error.
ViewerCommandLine ParseViewerCommandLine(const std::vector<std::string>& arguments);

// What the message box says after an error: the usage, a few lines.
const char* ViewerUsage();
