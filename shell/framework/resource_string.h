// Loading string resources of the program's own module as ANSI byte strings.
#pragma once

#include <windows.h>

#include <string>

// Loads string resource id into text (in the system's ANSI code page).
// Returns false, and leaves text empty, when the string is missing or empty.
bool LoadResourceString(UINT id, std::string& text);
