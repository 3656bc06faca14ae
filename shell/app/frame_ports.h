// What the main window gives the capture core: files, registry, caption, message box, menu item.
#pragma once

#include <windows.h>

#include <string>

#include "frame_window.h"
#include "window_port.h"
#include "win32_file_system.h"
#include "win32_registry.h"

// A base of the main window, listed before the core so that all of this
// exists while the core is constructed (the core may show a message then).
class CFramePorts : public varno::WindowPort {
protected:
    // window is the main window object; its handle is read at each call, so
    // message boxes have no owner until the window exists.
    explicit CFramePorts(const CFrameWindow& window) : m_window(window) {}

    void SetCaption(const std::string& caption) override;
    void ShowMessageBox(const std::string& text, const std::string& caption) override;
    void SetSendToFileItem(const std::string& label, bool grayed) override;

    varno::Win32FileSystem m_files;
    varno::Win32Registry m_registry;

private:
    const CFrameWindow& m_window;
};
