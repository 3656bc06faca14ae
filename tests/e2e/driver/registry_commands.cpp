// Driver commands on the registry: byte-exact reads of what Varno stored, and seeding or removing its keys.
#include "driver.h"

namespace driver {

namespace {

HKEY RootKey(const std::string& name) {
  if (name == "HKLM") return HKEY_LOCAL_MACHINE;
  if (name == "HKCU") return HKEY_CURRENT_USER;
  throw Failure("unknown root " + name + " (HKLM or HKCU)");
}

std::string CodeText(const char* what, LONG code) {
  SetLastError(static_cast<DWORD>(code));
  return LastErrorText(what);
}

// An open key that closes itself.
class Key {
 public:
  Key(const std::string& root, const std::string& path, REGSAM access, bool create) {
    LONG code = create ? RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                         nullptr, &key_, nullptr)
                       : RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key_);
    if (code != ERROR_SUCCESS) {
      key_ = nullptr;
      code_ = code;
    }
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  bool Open() const { return key_ != nullptr; }
  HKEY Handle() const {
    if (!key_) throw Failure(CodeText("RegOpenKeyEx", code_));
    return key_;
  }

 private:
  HKEY key_ = nullptr;
  LONG code_ = ERROR_SUCCESS;
};

}  // namespace

void AddRegistryCommands(CommandTable& table) {
  // reg_get ROOT PATH NAME -> TYPE BYTES   (TYPE "none" and empty BYTES when the key or value is missing)
  table["reg_get"] = {3, [](const Args& a) {
    Key key(a.Str(0), a.Str(1), KEY_READ, false);
    if (!key.Open()) return Fields{"none", ""};
    DWORD type = 0;
    DWORD size = 0;
    LONG code = RegQueryValueExA(key.Handle(), a.Str(2).c_str(), nullptr, &type, nullptr, &size);
    if (code == ERROR_FILE_NOT_FOUND) return Fields{"none", ""};
    if (code != ERROR_SUCCESS) throw Failure(CodeText("RegQueryValueEx", code));
    std::string data(size, '\0');
    code = RegQueryValueExA(key.Handle(), a.Str(2).c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(size ? &data[0] : nullptr), &size);
    if (code != ERROR_SUCCESS) throw Failure(CodeText("RegQueryValueEx", code));
    data.resize(size);
    return Fields{Num(static_cast<long long>(type)), data};
  }};
  // reg_class ROOT PATH -> CLASS   (the class string the key was created with; "none" for a missing key)
  table["reg_class"] = {2, [](const Args& a) {
    Key key(a.Str(0), a.Str(1), KEY_READ, false);
    if (!key.Open()) return Fields{"none", ""};
    char keyClass[256] = "";
    DWORD length = sizeof keyClass;
    LONG code = RegQueryInfoKeyA(key.Handle(), keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr);
    if (code != ERROR_SUCCESS) throw Failure(CodeText("RegQueryInfoKey", code));
    return Fields{"key", std::string(keyClass, length)};
  }};
  // reg_values ROOT PATH -> NAME...
  table["reg_values"] = {2, [](const Args& a) {
    Key key(a.Str(0), a.Str(1), KEY_READ, false);
    Fields names;
    if (!key.Open()) return names;
    for (DWORD index = 0;; ++index) {
      char name[16384];
      DWORD length = sizeof name;
      if (RegEnumValueA(key.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }};
  // reg_set ROOT PATH NAME TYPE BYTES: creates the key when missing; the bytes are stored as given
  table["reg_set"] = {5, [](const Args& a) {
    Key key(a.Str(0), a.Str(1), KEY_ALL_ACCESS, true);
    const std::string& data = a.Str(4);
    LONG code = RegSetValueExA(key.Handle(), a.Str(2).c_str(), 0, static_cast<DWORD>(a.Int(3)),
                               reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    if (code != ERROR_SUCCESS) throw Failure(CodeText("RegSetValueEx", code));
    return Fields{};
  }};
  // reg_delete_value ROOT PATH NAME   (a missing value is fine)
  table["reg_delete_value"] = {3, [](const Args& a) {
    Key key(a.Str(0), a.Str(1), KEY_ALL_ACCESS, false);
    if (!key.Open()) return Fields{};
    LONG code = RegDeleteValueA(key.Handle(), a.Str(2).c_str());
    if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND) throw Failure(CodeText("RegDeleteValue", code));
    return Fields{};
  }};
  // reg_delete_tree ROOT PATH: the key with all its subkeys and values (a missing key is fine)
  table["reg_delete_tree"] = {2, [](const Args& a) {
    LONG code = RegDeleteTreeA(RootKey(a.Str(0)), a.Str(1).c_str());
    if (code == ERROR_SUCCESS || code == ERROR_FILE_NOT_FOUND) {
      code = RegDeleteKeyA(RootKey(a.Str(0)), a.Str(1).c_str());
    }
    if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND) throw Failure(CodeText("RegDeleteTree", code));
    return Fields{};
  }};
}

}  // namespace driver
