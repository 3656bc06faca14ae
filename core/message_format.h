// Formats a message the way the Win32 wvsprintf function does.
#pragma once

#include <cstdarg>
#include <string>

namespace varno {

// The longest message the program shows; longer ones are cut.
constexpr size_t kMaxMessageLength = 511;

// Interprets format with wvsprintf's rules: %[-][#][0][width][.precision]
// [l|h]type with types c, d, i, u, x, X, s and %%. Numbers are 32-bit; %s
// takes a NUL-terminated byte string (a null pointer shows as "(null)").
// An unknown type is written out as the character itself. The result is cut to
// maxLength bytes.
std::string FormatTextV(const char* format, va_list args,
                           size_t maxLength = kMaxMessageLength);
std::string FormatText(const char* format, ...);

}  // namespace varno
