// Written to read like the numbered steps, with string operations that behave
// like the framework string class's: positions from 0, -1 for "not found",
// and counts clamped to the text. Clarity over speed throughout.
#include "make_links_oracle.h"

#include <string>

namespace varno::oracle {
namespace {

const std::string kDelimiters = " '`()[]<>,;!\"\t\r\n";

int Length(const std::string& s) { return static_cast<int>(s.size()); }

int Find(const std::string& s, const std::string& what) {
    const std::string::size_type pos = s.find(what);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int ReverseFind(const std::string& s, char c) {
    const std::string::size_type pos = s.rfind(c);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int FindOneOf(const std::string& s, const std::string& set) {
    const std::string::size_type pos = s.find_first_of(set);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

std::string Mid(const std::string& s, int first, int count) {
    if (first < 0) first = 0;
    if (first > Length(s)) first = Length(s);
    if (count < 0) count = 0;
    if (count > Length(s) - first) count = Length(s) - first;
    return s.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
}

std::string Mid(const std::string& s, int first) { return Mid(s, first, Length(s) - first); }

std::string Left(const std::string& s, int n) { return Mid(s, 0, n); }

void MakeUpper(std::string& s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

bool IsDelimiter(char c) { return c != '\0' && kDelimiters.find(c) != std::string::npos; }

// Steps 5 and 12: the address runs to the first delimiter or the end of the
// remainder, without the full stops at its end.
std::string TakeAddress(const std::string& remainder) {
    const int delimiter = FindOneOf(remainder, kDelimiters);
    std::string address = delimiter == -1 ? remainder : Left(remainder, delimiter);
    while (Length(address) > 0 && address[address.size() - 1] == '.') {
        address = Left(address, Length(address) - 1);
    }
    return address;
}

}  // namespace

std::string MakeLinksOracle(std::string text) {
    // Web pass.
    std::string converted;  // step 1
    std::string remainder = text;
    for (;;) {
        std::string upper = remainder;  // step 2
        MakeUpper(upper);
        const int e = Find(upper, "HTTP://");
        if (e == -1) break;
        if (e >= 8 && Mid(upper, e - 8, 7) == "A HREF=") {  // step 3
            const int q = Find(upper, "</A>");
            if (q == -1) return converted + remainder;
            converted += Left(remainder, q + 3);
            remainder = Mid(remainder, q + 3);
            continue;
        }
        converted += Left(remainder, e);  // step 4
        remainder = Mid(remainder, e);
        const std::string address = TakeAddress(remainder);  // step 5
        remainder = Mid(remainder, Length(address));
        converted += "<A HREF=\"" + address + "\">" + address + "</A>";  // step 6
    }

    // E-mail pass.
    remainder = converted + remainder;  // step 7
    converted.clear();
    const bool mailto = Find(remainder, "mailto:") != -1;  // step 8
    for (;;) {
        const int n = Find(remainder, "@");  // step 9
        if (n == -1) break;
        const std::string leadIn = Left(remainder, n);
        if (mailto) {  // step 10
            const std::string afterColon = Mid(leadIn, ReverseFind(leadIn, ':') + 1);
            if (FindOneOf(afterColon, kDelimiters) == -1) {
                const int q = Find(remainder, "</A>");
                if (q == -1) return converted + remainder;
                converted += Left(remainder, q + 3);
                remainder = Mid(remainder, q + 3);
                continue;
            }
        }
        int start = 0;  // step 11
        for (int i = n - 1; i >= 0; --i) {
            if (IsDelimiter(leadIn[static_cast<std::size_t>(i)])) {
                start = i + 1;
                break;
            }
        }
        converted += Left(remainder, start);
        remainder = Mid(remainder, start);
        const std::string address = TakeAddress(remainder);  // step 12
        remainder = Mid(remainder, Length(address));
        converted += "<A HREF=\"mailto:" + address + "\">" + address + "</A>";  // step 13
    }
    return converted + remainder;  // step 14
}

}  // namespace varno::oracle
