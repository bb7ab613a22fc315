#include "platform/adodb/connection_string.h"

#include "platform/text/strings.h"

namespace adodb {
namespace {

// Splits at ';' outside braces and quotes.
std::vector<std::string> Segments(std::string_view text) {
    std::vector<std::string> out;
    std::string current;
    char closer = 0;
    bool valueStarted = false;  // quotes only open right after '=' (blanks skipped)
    bool afterEquals = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (closer != 0) {
            current += c;
            if (c == closer) {
                // A doubled closing character stands for itself ("}}" in braces).
                if (i + 1 < text.size() && text[i + 1] == closer) {
                    current += text[++i];
                } else {
                    closer = 0;
                }
            }
            continue;
        }
        if (c == ';') {
            out.push_back(current);
            current.clear();
            valueStarted = afterEquals = false;
            continue;
        }
        current += c;
        if (c == '=' && !afterEquals) {
            afterEquals = true;
            continue;
        }
        if (afterEquals && !valueStarted && c != ' ' && c != '\t') {
            valueStarted = true;
            if (c == '{') closer = '}';
            if (c == '"' || c == '\'') closer = c;
        }
    }
    if (!text::Trim(current).empty()) out.push_back(current);
    return out;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2) {
        const char first = v.front();
        const char last = v.back();
        if (first == '{' && last == '}') {
            return text::ReplaceAllExact(v.substr(1, v.size() - 2), "}}", "}");
        }
        if ((first == '"' && last == '"') || (first == '\'' && last == '\'')) {
            const std::string q(1, first);
            return text::ReplaceAllExact(v.substr(1, v.size() - 2), q + q, q);
        }
    }
    return v;
}

}  // namespace

ConnectionString ConnectionString::Parse(std::string_view text) {
    ConnectionString cs;
    for (auto& seg : Segments(text)) {
        if (text::Trim(seg).empty()) continue;
        Item item;
        item.raw = seg;
        const auto eq = seg.find('=');
        if (eq == std::string::npos) {
            item.key = text::Trim(seg);
        } else {
            item.key = text::Trim(std::string_view(seg).substr(0, eq));
            item.value = Unquote(text::Trim(std::string_view(seg).substr(eq + 1)));
        }
        cs.items_.push_back(std::move(item));
    }
    return cs;
}

std::optional<std::string> ConnectionString::Get(
    std::initializer_list<std::string_view> keys) const {
    for (const auto& item : items_) {
        for (auto k : keys) {
            if (text::EqualsNoCase(item.key, k)) return item.value;
        }
    }
    return std::nullopt;
}

std::string QuoteOdbcValue(std::string_view value) {
    const bool needsBraces = value.find_first_of(";{}") != std::string_view::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!needsBraces) return std::string(value);
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}') out += '}';
    }
    out += '}';
    return out;
}

}  // namespace adodb
