// A small formatter with wvsprintf's conversions, so the core shows the same
// texts on every platform.
#include "message_format.h"

#include <cstdint>
#include <cstring>

namespace varno {

namespace {

struct Conversion {
    bool left = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
};

void Pad(std::string& out, const std::string& body, const Conversion& conversion, bool zeroAllowed) {
    size_t width = conversion.width > 0 ? static_cast<size_t>(conversion.width) : 0;
    if (body.size() >= width) {
        out += body;
        return;
    }
    size_t fill = width - body.size();
    if (conversion.left) {
        out += body;
        out.append(fill, ' ');
    } else if (conversion.zero && zeroAllowed) {
        // Zeros go after a sign or a 0x prefix.
        size_t prefix = 0;
        if (!body.empty() && body[0] == '-') prefix = 1;
        if (body.size() >= 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) prefix = 2;
        out += body.substr(0, prefix);
        out.append(fill, '0');
        out += body.substr(prefix);
    } else {
        out.append(fill, ' ');
        out += body;
    }
}

std::string Digits(uint32_t value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

}  // namespace

std::string FormatTextV(const char* format, va_list args, size_t maxLength) {
    std::string out;
    const char* p = format;
    while (*p != '\0' && out.size() < maxLength) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        ++p;
        Conversion conversion;
        for (;; ++p) {
            if (*p == '-') conversion.left = true;
            else if (*p == '0') conversion.zero = true;
            else if (*p == '#') conversion.alternate = true;
            else break;
        }
        while (*p >= '0' && *p <= '9') conversion.width = conversion.width * 10 + (*p++ - '0');
        if (*p == '.') {
            ++p;
            conversion.precision = 0;
            while (*p >= '0' && *p <= '9') conversion.precision = conversion.precision * 10 + (*p++ - '0');
        }
        if (*p == 'l' || *p == 'h') ++p;  // every number is 32 bits here
        char type = *p;
        if (type == '\0') break;
        ++p;
        switch (type) {
        case 'd':
        case 'i': {
            int32_t value = va_arg(args, int32_t);
            uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
            std::string digits = Digits(magnitude, 10, false);
            if (conversion.precision > 0 && digits.size() < static_cast<size_t>(conversion.precision))
                digits.insert(0, conversion.precision - digits.size(), '0');
            Pad(out, (value < 0 ? "-" : "") + digits, conversion, conversion.precision < 0);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            uint32_t value = va_arg(args, uint32_t);
            unsigned base = type == 'u' ? 10 : 16;
            std::string digits = Digits(value, base, type == 'X');
            if (conversion.precision > 0 && digits.size() < static_cast<size_t>(conversion.precision))
                digits.insert(0, conversion.precision - digits.size(), '0');
            if (conversion.alternate && type != 'u' && value != 0) digits.insert(0, type == 'X' ? "0X" : "0x");
            Pad(out, digits, conversion, conversion.precision < 0);
            break;
        }
        case 'c': {
            char c = static_cast<char>(va_arg(args, int));
            Pad(out, std::string(1, c), conversion, false);
            break;
        }
        case 's': {
            const char* s = va_arg(args, const char*);
            if (s == nullptr) s = "(null)";
            size_t length = std::strlen(s);
            if (conversion.precision >= 0 && length > static_cast<size_t>(conversion.precision))
                length = static_cast<size_t>(conversion.precision);
            Pad(out, std::string(s, length), conversion, false);
            break;
        }
        default:
            // "%%" and any unknown type write the character itself.
            out += type;
            break;
        }
    }
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

}  // namespace varno
