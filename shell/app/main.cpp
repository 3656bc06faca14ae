// Varno's entry point: the one application object and WinMain.
#include <windows.h>

#include "capture_app.h"

namespace {
CCaptureApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    return theApp.Run(instance, cmdShow);
}
