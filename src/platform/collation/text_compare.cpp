#include "platform/collation/text_compare.h"

#include <string>

namespace collation {
namespace {

char32_t NextChar(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    const std::size_t len = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return c;
    }
    char32_t cp = c & (0x7Fu >> len);
    for (std::size_t k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += len;
    return cp;
}

std::u32string Decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) out.push_back(NextChar(s, i));
    return out;
}

char32_t FoldCase(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
}

std::u32string Folded(std::string_view s) {
    std::u32string out = Decode(s);
    for (char32_t& c : out) c = FoldCase(c);
    return out;
}

// Primary weight: the letter without case or accent; ñ sorts between n and o.
std::uint32_t Primary(char32_t folded) {
    char32_t base = folded;
    if (folded >= 0xE0 && folded <= 0xFF) {
        static constexpr char kBase[] =
            "aaaaaaaceeeeiiii"
            "\xF0"
            "\xF1"
            "ooooo"
            "\xF7"
            "ouuuuy"
            "\xFE"
            "y";
        base = static_cast<unsigned char>(kBase[folded - 0xE0]);
        if (folded == 0xF1) return 'n' * 2 + 1;
    }
    return static_cast<std::uint32_t>(base) * 2;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Two folded characters in the collation's order: the letter first, then the accent.
int CompareChars(char32_t a, char32_t b) {
    const std::uint32_t pa = Primary(a), pb = Primary(b);
    if (pa != pb) return pa < pb ? -1 : 1;
    return a == b ? 0 : (a < b ? -1 : 1);
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
    const std::u32string fa = Folded(TrimRight(a));
    const std::u32string fb = Folded(TrimRight(b));
    const std::size_t n = std::min(fa.size(), fb.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t pa = Primary(fa[i]), pb = Primary(fb[i]);
        if (pa != pb) return pa < pb ? -1 : 1;
    }
    if (fa.size() != fb.size()) return fa.size() < fb.size() ? -1 : 1;
    for (std::size_t i = 0; i < n; ++i) {
        if (fa[i] != fb[i]) return fa[i] < fb[i] ? -1 : 1;
    }
    return 0;
}

namespace {

// Matches one character against the class starting at p[pi] == '['. Sets `next` to the
// position after the closing ']'; returns false when the class is not closed.
bool ClassMatches(const std::u32string& p, std::size_t pi, char32_t c, std::size_t& next,
                  bool& matched) {
    std::size_t j = pi + 1;
    const bool negate = j < p.size() && p[j] == '^';
    if (negate) ++j;
    bool found = false;
    bool any = false;
    while (j < p.size() && (p[j] != ']' || !any)) {
        any = true;
        if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
            // A range follows the collation's order: [a-c] holds á, [n-o] holds ñ.
            if (CompareChars(p[j], c) <= 0 && CompareChars(c, p[j + 2]) <= 0) found = true;
            j += 3;
        } else {
            if (c == p[j]) found = true;
            ++j;
        }
    }
    if (j >= p.size()) return false;
    next = j + 1;
    matched = found != negate;
    return true;
}

}  // namespace

namespace {

bool Matches(const std::u32string& p, const std::u32string& s, char32_t escape) {
    constexpr std::size_t kNone = std::u32string::npos;
    std::size_t pi = 0, si = 0, starP = kNone, starS = 0;
    while (si < s.size()) {
        bool ok = false;
        if (pi < p.size()) {
            const char32_t pc = p[pi];
            if (escape != 0 && pc == escape && pi + 1 < p.size()) {
                if (p[pi + 1] == s[si]) {
                    pi += 2;
                    ++si;
                    ok = true;
                }
            } else if (pc == '%') {
                starP = ++pi;
                starS = si;
                continue;
            } else if (pc == '_') {
                ++pi;
                ++si;
                ok = true;
            } else if (std::size_t next = 0; pc == '[') {
                bool matched = false;
                if (ClassMatches(p, pi, s[si], next, matched)) {
                    if (matched) {
                        pi = next;
                        ++si;
                        ok = true;
                    }
                } else if (s[si] == '[') {
                    ++pi;
                    ++si;
                    ok = true;
                }
            } else if (pc == s[si]) {
                ++pi;
                ++si;
                ok = true;
            }
        }
        if (ok) continue;
        if (starP == kNone) return false;
        pi = starP;
        si = ++starS;
    }
    while (pi < p.size() && p[pi] == '%') ++pi;
    return pi == p.size();
}

}  // namespace

bool LikeMatch(std::string_view pattern, std::string_view value, char32_t escape) {
    const std::u32string p = Folded(pattern);
    escape = FoldCase(escape);
    // Trailing blanks of the value do not count: 'FC  ' LIKE 'FC'.
    if (Matches(p, Folded(value), escape)) return true;
    const std::string_view trimmed = TrimRight(value);
    return trimmed.size() != value.size() && Matches(p, Folded(trimmed), escape);
}

long FindText(std::string_view needle, std::string_view hay, long start) {
    const std::u32string n = Folded(needle);
    const std::u32string h = Folded(hay);
    if (n.empty()) return 0;
    const std::size_t from = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
    if (from >= h.size()) return 0;
    const std::size_t at = h.find(n, from);
    return at == std::u32string::npos ? 0 : static_cast<long>(at + 1);
}

}  // namespace collation
