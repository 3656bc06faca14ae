// The Settings... command: the settings sheet, applied when it closes with OK.
#include "capture_frame.h"

void CCaptureFrame::OnSettings() {
    // Settings...: the settings sheet is added with its own dialogs.
}

