// The application object: start-up, the message loop and the profile under HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <string>

class CFrameWindow;

// String resource that holds the application title.
constexpr UINT kAppTitleStringId = 57344;

class CApplication {
public:
    // There is one application object per process; it registers itself here.
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    static CApplication* Current();

    // The body of WinMain: InitInstance, then the message loop until the
    // main window is destroyed. Returns the process exit code.
    int Run(HINSTANCE instance, int cmdShow);

    // Creates the main window. False ends the process without a message loop.
    virtual BOOL InitInstance() = 0;

    // WM_COMMAND ids that no window handled come here. True when handled.
    virtual bool OnCommand(UINT id);

    // Profile functions. SetRegistryKey roots the profile at
    // HKEY_CURRENT_USER\Software\<company>\<m_strProfileName>; the profile
    // name starts as the application title. A section is a subkey, an entry a
    // REG_SZ value in it; missing keys are created when they are opened.
    void SetRegistryKey(const char* company);
    // The stored text, or defaultText when the entry or its key is missing.
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultText = "");
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // Destroying the main window ends the message loop.
    CFrameWindow* m_pMainWnd = nullptr;
    std::string m_strAppName;  // the application title (string 57344)
    std::string m_strRegistryKey;
    std::string m_strProfileName;

private:
    HKEY OpenSectionKey(const char* section);
};
