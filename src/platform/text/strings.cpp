#include "platform/text/strings.h"

#include <charconv>
#include <string>

#include "platform/text/runtime_error.h"

namespace text {

namespace {

constexpr unsigned char kLatin1Lead = 0xC3;  // UTF-8 lead byte of U+00C0..U+00FF
constexpr unsigned char kLatinExtLead = 0xC5;
constexpr unsigned char kLowerYDiaeresis = 0xBF;  // ÿ U+00FF after kLatin1Lead
constexpr unsigned char kUpperYDiaeresis = 0xB8;  // Ÿ U+0178 after kLatinExtLead

bool IsBlank(char c) {
    return c == ' ';
}

// Lower case in place: ASCII letters, the Latin-1 letters À..Þ (except ×), and the
// Windows-1252 letters Œ Š Ž Ÿ, whose lower forms have the same UTF-8 length.
void FoldLower(std::string& s) {
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'A' && c <= 'Z') {
            s[i] = static_cast<char>(c + 32);
        } else if (c >= 0x80 && i + 1 < n) {
            auto next = static_cast<unsigned char>(s[i + 1]);
            if (c == kLatin1Lead && next >= 0x80 && next <= 0x9E && next != 0x97) {
                s[i + 1] = static_cast<char>(next + 0x20);
                ++i;
            } else if (c == kLatinExtLead && (next == 0x92 || next == 0xA0 || next == 0xBD)) {
                s[i + 1] = static_cast<char>(next + 1);
                ++i;
            } else if (c == kLatinExtLead && next == kUpperYDiaeresis) {
                s[i] = static_cast<char>(kLatin1Lead);
                s[i + 1] = static_cast<char>(kLowerYDiaeresis);
                ++i;
            }
        }
    }
}

void FoldUpper(std::string& s) {
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'a' && c <= 'z') {
            s[i] = static_cast<char>(c - 32);
        } else if (c >= 0x80 && i + 1 < n) {
            auto next = static_cast<unsigned char>(s[i + 1]);
            if (c == kLatin1Lead && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
                s[i + 1] = static_cast<char>(next - 0x20);
                ++i;
            } else if (c == kLatinExtLead && (next == 0x93 || next == 0xA1 || next == 0xBE)) {
                s[i + 1] = static_cast<char>(next - 1);
                ++i;
            } else if (c == kLatin1Lead && next == kLowerYDiaeresis) {
                // ÿ is the one Latin-1 letter whose capital, Ÿ, lies outside Latin-1.
                s[i] = static_cast<char>(kLatinExtLead);
                s[i + 1] = static_cast<char>(kUpperYDiaeresis);
                ++i;
            }
        }
    }
}

int ToInt(std::size_t n) {
    return static_cast<int>(n);
}

int FindFrom(std::string_view hay, std::string_view needle, int start) {
    if (start < 1)
        throw RuntimeError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    const auto from = static_cast<std::size_t>(start - 1);
    if (from > hay.size()) return 0;
    const auto pos = hay.find(needle, from);
    return pos == std::string_view::npos ? 0 : ToInt(pos + 1);
}

std::string ReplaceIn(std::string_view s, std::string_view searched, std::string_view find,
                      std::string_view repl) {
    // `searched` is `s` or a case-folded copy of the same length; positions apply to both.
    if (find.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t from = 0;
    while (true) {
        const auto pos = searched.find(find, from);
        if (pos == std::string_view::npos) break;
        out.append(s.substr(from, pos - from));
        out.append(repl);
        from = pos + find.size();
    }
    out.append(s.substr(from));
    return out;
}

// Unicode code points of the Windows-1252 bytes 0x80..0x9F. The five bytes the code page
// leaves undefined map to the C1 control of the same number, as Windows does.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when it is not valid
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string ToUpper(std::string_view s) {
    std::string out(s);
    FoldUpper(out);
    return out;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    FoldLower(out);
    return out;
}

int InStr(std::string_view hay, std::string_view needle, int start) {
    return FindFrom(ToLower(hay), ToLower(needle), start);
}

int InStrExact(std::string_view hay, std::string_view needle, int start) {
    return FindFrom(hay, needle, start);
}

int InStrRev(std::string_view hay, std::string_view needle) {
    if (needle.empty()) return Len(hay);
    const auto pos = ToLower(hay).rfind(ToLower(needle));
    return pos == std::string::npos ? 0 : ToInt(pos + 1);
}

bool Contains(std::string_view hay, std::string_view needle) {
    return ToLower(hay).find(ToLower(needle)) != std::string::npos;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return prefix.size() <= s.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return suffix.size() <= s.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

std::string ReplaceAll(std::string_view s, std::string_view find, std::string_view repl) {
    if (find.empty()) return std::string(s);
    return ReplaceIn(s, ToLower(s), ToLower(find), repl);
}

std::string ReplaceAllExact(std::string_view s, std::string_view find, std::string_view repl) {
    return ReplaceIn(s, s, find, repl);
}

std::string Trim(std::string_view s) {
    return RTrim(LTrim(s));
}

std::string LTrim(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string Mid(std::string_view s, int start, int length) {
    if (start < 1)
        throw RuntimeError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return {};
    if (length < 0) return std::string(s.substr(from));
    return std::string(s.substr(from, static_cast<std::size_t>(length)));
}

std::string Left(std::string_view s, int n) {
    if (n < 0) throw RuntimeError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string Right(std::string_view s, int n) {
    if (n < 0) throw RuntimeError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    const auto k = std::min(s.size(), static_cast<std::size_t>(n));
    return std::string(s.substr(s.size() - k));
}

int Len(std::string_view s) {
    return ToInt(s.size());
}

double LeadingNumber(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    // Collects the longest prefix of the form [sign] digits [. digits] [e [sign] digits],
    // then converts it without regard to the process locale.
    std::string num;
    if (i < n && (s[i] == '-' || s[i] == '+')) {
        if (s[i] == '-') num.push_back('-');
        ++i;
    }
    bool digits = false;
    while (i < n && s[i] >= '0' && s[i] <= '9') num.push_back(s[i++]), digits = true;
    if (i < n && s[i] == '.') {
        num.push_back(s[i++]);
        while (i < n && s[i] >= '0' && s[i] <= '9') num.push_back(s[i++]), digits = true;
    }
    if (!digits) return 0.0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < n && (s[j] == '-' || s[j] == '+')) exp.push_back(s[j++]);
        bool expDigits = false;
        while (j < n && s[j] >= '0' && s[j] <= '9') exp.push_back(s[j++]), expDigits = true;
        if (expDigits) num += exp;
    }
    double value = 0.0;
    const char* first = num.data();
    if (*first == '-') ++first;
    const auto res = std::from_chars(first, num.data() + num.size(), value);
    if (res.ec != std::errc()) return 0.0;
    return num[0] == '-' ? -value : value;
}

int WordCount(std::string_view s) {
    int count = 0;
    bool inWord = false;
    for (char c : s) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank && !inWord) ++count;
        inWord = !blank;
    }
    return count;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else if (b < 0xA0) {
            AppendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kCp1252High[k] == cp) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

}  // namespace text
