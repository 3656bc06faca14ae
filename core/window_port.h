// The few things the capture core asks of the main window.
#pragma once

#include <string>

namespace varno {

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // Shows the text in the main window's title bar.
    virtual void SetCaption(const std::string& caption) = 0;

    // Shows a modal box with an OK button and the exclamation icon, system-modal
    // and topmost, owned by the main window once it exists; returns when dismissed.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption) = 0;

    // Relabels the system menu's Send-To-File command and greys or enables it.
    virtual void SetSendToFileItem(const std::string& label, bool grayed) = 0;
};

}  // namespace varno
