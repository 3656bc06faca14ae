// The application object: start-up, the message loop and the profile under HKEY_CURRENT_USER.
#include "application.h"

#include <vector>

#include "resource_string.h"

namespace {
CApplication* g_current = nullptr;
}  // namespace

CApplication::CApplication() {
    g_current = this;
    m_hInstance = GetModuleHandleA(nullptr);
    if (!LoadResourceString(kAppTitleStringId, m_strAppName)) m_strAppName = "Application";
}

CApplication::~CApplication() {
    if (g_current == this) g_current = nullptr;
}

CApplication* CApplication::Current() { return g_current; }

int CApplication::Run(HINSTANCE instance, int cmdShow) {
    m_hInstance = instance;
    m_nCmdShow = cmdShow;
    if (!InitInstance()) return 0;

    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool CApplication::OnCommand(UINT) { return false; }

void CApplication::SetRegistryKey(const char* company) {
    m_strRegistryKey = company;
    m_strProfileName = m_strAppName;
}

HKEY CApplication::OpenSectionKey(const char* section) {
    if (m_strRegistryKey.empty() || m_strProfileName.empty()) return nullptr;
    std::string path = "Software\\" + m_strRegistryKey + "\\" + m_strProfileName + "\\" + section;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

std::string CApplication::GetProfileString(const char* section, const char* entry,
                                           const char* defaultText) {
    std::string result = defaultText != nullptr ? defaultText : "";
    HKEY key = OpenSectionKey(section);
    if (key == nullptr) return result;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS)
            result.assign(data.data());  // up to the first NUL
    }
    RegCloseKey(key);
    return result;
}

BOOL CApplication::WriteProfileString(const char* section, const char* entry, const char* value) {
    HKEY key = OpenSectionKey(section);
    if (key == nullptr) return FALSE;
    LONG status = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(lstrlenA(value) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
