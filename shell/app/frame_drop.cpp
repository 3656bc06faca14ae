// Files dropped on the main window are merged into the buffer.
#include "capture_frame.h"

void CCaptureFrame::OnDropFiles(HDROP drop) {
    // Merging dropped files is added with the drop handler; the handle is
    // released on every path.
    DragFinish(drop);
}

