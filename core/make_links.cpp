// Link conversion in two passes, web addresses first, then e-mail addresses
// over the web pass's result.
//
// Each pass walks its input once. The remainder of the text is never copied:
// it is a start position `r` in the pass's input, which only moves forward.
// Case-insensitive matches compare bytes upper-cased in place instead of
// searching an upper-cased copy. Each "first X at or after r" search keeps
// its last answer, which stays right as long as r has not passed it, so no
// byte is searched twice for the same thing.
//
// Every byte is one character: double-byte code pages get no treatment of
// their own (a trail byte may take part in a match like any other byte).
#include "make_links.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace varno {
namespace {

constexpr std::size_t kNone = std::string::npos;

// The 16 characters that end an address, and in the e-mail pass also start one.
constexpr std::string_view kDelimiters(" '`()[]<>,;!\"\t\r\n", 16);

struct DelimiterTable {
    bool is[256] = {};
    constexpr DelimiterTable() {
        for (char c : kDelimiters) is[static_cast<unsigned char>(c)] = true;
    }
};
constexpr DelimiterTable kDelimiterTable;

inline bool IsDelimiter(char c) { return kDelimiterTable.is[static_cast<unsigned char>(c)]; }

// Upper-casing for matching changes a to z and nothing else.
inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Answers "first match at or after pos" for positions that never decrease.
// A match found before is still the first one while pos has not gone past it,
// so the search only runs again, from pos, once pos has passed it.
template <class Search>
class ForwardFinder {
public:
    explicit ForwardFinder(Search search) : search_(search) {}

    std::size_t From(std::size_t pos) {
        if (!searched_ || pos > found_) {
            found_ = search_(pos);
            searched_ = true;
        }
        return found_;
    }

private:
    Search search_;
    std::size_t found_ = 0;  // kNone when nothing is left from the last search on
    bool searched_ = false;
};

template <class Search>
ForwardFinder<Search> MakeFinder(Search search) {
    return ForwardFinder<Search>(search);
}

// First "HTTP://" (any letter case) starting at or after `from`. The colon is
// the rarest character of the scheme, so it is what the scan looks for.
std::size_t FindScheme(std::string_view s, std::size_t from) {
    std::size_t c = from + 4;  // where the colon of a match at `from` would be
    while ((c = s.find(':', c)) != kNone && c + 3 <= s.size()) {
        if (s[c + 1] == '/' && s[c + 2] == '/' && Upper(s[c - 4]) == 'H' && Upper(s[c - 3]) == 'T' &&
            Upper(s[c - 2]) == 'T' && Upper(s[c - 1]) == 'P') {
            return c - 4;
        }
        ++c;
    }
    return kNone;
}

// First "</A>" at or after `from`; with anyCase, also "</a>".
std::size_t FindCloseTag(std::string_view s, std::size_t from, bool anyCase) {
    std::size_t q = from;
    while ((q = s.find('<', q)) != kNone && q + 4 <= s.size()) {
        const char a = anyCase ? Upper(s[q + 2]) : s[q + 2];
        if (s[q + 1] == '/' && a == 'A' && s[q + 3] == '>') return q;
        ++q;
    }
    return kNone;
}

// First delimiter at or after `from`, or the end of the text.
std::size_t FindDelimiter(std::string_view s, std::size_t from) {
    std::size_t i = from;
    while (i < s.size() && !IsDelimiter(s[i])) ++i;
    return i;
}

// The 7 characters before the character in front of the scheme at `e`
// (which is not examined) are "A HREF=" in any letter case.
bool FollowsHref(std::string_view s, std::size_t e) {
    static constexpr char kHref[] = "A HREF=";
    for (std::size_t k = 0; k < 7; ++k) {
        if (Upper(s[e - 8 + k]) != kHref[k]) return false;
    }
    return true;
}

// End of an address that starts at `start` and has no delimiter before
// `delimiter`: full stops at its end are left outside.
std::size_t TrimFullStops(std::string_view s, std::size_t start, std::size_t delimiter) {
    std::size_t end = delimiter;
    while (end > start && s[end - 1] == '.') --end;
    return end;
}

// Builds a pass's result. The string's size runs ahead of the text written,
// so that each piece costs one bounds check and one copy.
class Writer {
public:
    explicit Writer(std::size_t expected) { buf_.resize(expected); }

    char* Claim(std::size_t n) {
        if (n > buf_.size() - len_) buf_.resize(std::max(buf_.size() * 2, len_ + n));
        char* at = &buf_[len_];
        len_ += n;
        return at;
    }

    void Append(std::string_view piece) { std::memcpy(Claim(piece.size()), piece.data(), piece.size()); }

    // open, the address, "\">", the address, "</A>".
    template <std::size_t N>
    void AppendAnchor(const char (&open)[N], std::string_view address) {
        const std::size_t n = address.size();
        char* at = Claim(N - 1 + 2 * n + 6);
        std::memcpy(at, open, N - 1);
        at += N - 1;
        std::memcpy(at, address.data(), n);
        at += n;
        std::memcpy(at, "\">", 2);
        at += 2;
        std::memcpy(at, address.data(), n);
        at += n;
        std::memcpy(at, "</A>", 4);
    }

    std::string Finish() {
        buf_.resize(len_);
        return std::move(buf_);
    }

private:
    std::string buf_;
    std::size_t len_ = 0;
};

struct WebPassResult {
    std::string text;
    bool finished;  // false: an already-linked address has no closing tag,
                    // the conversion ends with the web pass
};

WebPassResult WebPass(std::string in) {
    const std::string_view s(in);
    auto scheme = MakeFinder([s](std::size_t from) { return FindScheme(s, from); });
    if (scheme.From(0) == kNone) return {std::move(in), true};

    auto closeTag = MakeFinder([s](std::size_t from) { return FindCloseTag(s, from, true); });
    auto delimiter = MakeFinder([s](std::size_t from) { return FindDelimiter(s, from); });
    Writer out(s.size() + s.size() / 8);
    std::size_t r = 0;  // the remainder is s.substr(r)
    for (;;) {
        const std::size_t e = scheme.From(r);
        if (e == kNone) break;
        // E counts from the head of the remainder, so the window must lie in it.
        if (e - r >= 8 && FollowsHref(s, e)) {
            // Searched from the head of the remainder: a closing tag that lies
            // before the address ends the skip there, and the same address is
            // tested again next time round.
            const std::size_t q = closeTag.From(r);
            if (q == kNone) {
                out.Append(s.substr(r));
                return {out.Finish(), false};
            }
            out.Append(s.substr(r, q + 3 - r));  // the tag's ">" stays in the remainder
            r = q + 3;
            continue;
        }
        out.Append(s.substr(r, e - r));
        // The scheme holds no delimiter and ends in "/", so the address is never empty.
        const std::size_t end = TrimFullStops(s, e, delimiter.From(e));
        out.AppendAnchor("<A HREF=\"", s.substr(e, end - e));
        r = end;
    }
    out.Append(s.substr(r));
    return {out.Finish(), true};
}

std::string MailPass(std::string in) {
    const std::string_view s(in);
    auto at = MakeFinder([s](std::size_t from) { return s.find('@', from); });
    if (at.From(0) == kNone) return in;

    // Noted once for the whole pass, however far the remainder moves on.
    const bool mailto = s.find("mailto:") != kNone;
    auto closeTag = MakeFinder([s](std::size_t from) { return FindCloseTag(s, from, false); });
    auto delimiter = MakeFinder([s](std::size_t from) { return FindDelimiter(s, from); });

    // The last colon or delimiter before the "@" at scannedAt, found by
    // scanning back to the remainder's head at that time (kNone: none there).
    // Skips to closing tags that lie before the same "@" only move the head
    // forward, so the answer holds until the pass reaches another "@".
    std::size_t scannedAt = kNone;
    std::size_t mark = kNone;

    Writer out(s.size() + s.size() / 4);
    std::size_t r = 0;  // the remainder is s.substr(r)
    for (;;) {
        const std::size_t a = at.From(r);
        if (a == kNone) break;
        std::size_t start = r;  // where the address begins
        if (mailto) {
            if (scannedAt != a) {
                scannedAt = a;
                mark = kNone;
                for (std::size_t i = a; i > r; --i) {
                    if (s[i - 1] == ':' || IsDelimiter(s[i - 1])) {
                        mark = i - 1;
                        break;
                    }
                }
            }
            const bool seen = mark != kNone && mark >= r;
            if (!seen || s[mark] == ':') {
                // No delimiter after the lead-in's last colon: inside an anchor.
                const std::size_t q = closeTag.From(r);
                if (q == kNone) {
                    out.Append(s.substr(r));
                    return out.Finish();
                }
                out.Append(s.substr(r, q + 3 - r));
                r = q + 3;
                continue;
            }
            start = mark + 1;  // mark is the last delimiter of the lead-in
        } else {
            for (std::size_t i = a; i > r; --i) {
                if (IsDelimiter(s[i - 1])) {
                    start = i;
                    break;
                }
            }
        }
        out.Append(s.substr(r, start - r));
        // Nothing from start up to the "@" is a delimiter, and the "@" keeps
        // the address from losing more than the full stops after it.
        const std::size_t end = TrimFullStops(s, start, delimiter.From(a));
        out.AppendAnchor("<A HREF=\"mailto:", s.substr(start, end - start));
        r = end;
    }
    out.Append(s.substr(r));
    return out.Finish();
}

}  // namespace

std::string MakeLinks(std::string text) {
    WebPassResult web = WebPass(std::move(text));
    if (!web.finished) return std::move(web.text);
    return MailPass(std::move(web.text));
}

}  // namespace varno
