// Saving the window's picture as a PNG file (not yet written: the command does nothing for now).
#include "viewer/viewer_application.h"

void ViewerApplication::SaveOutputImage() {}
