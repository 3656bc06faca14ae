// Loading string resources of the program's own module as ANSI byte strings.
#include "resource_string.h"

#include <vector>

bool LoadResourceString(UINT id, std::string& text) {
    text.clear();
    HINSTANCE module = GetModuleHandleA(nullptr);
    // LoadStringA cuts a string that does not fit, so grow until it does.
    for (int size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(static_cast<size_t>(size));
        int length = LoadStringA(module, id, buffer.data(), size);
        if (length <= 0) return false;
        if (length < size - 1) {
            text.assign(buffer.data(), static_cast<size_t>(length));
            return true;
        }
    }
    return false;
}
