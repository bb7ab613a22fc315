#include "clientlib/utility_services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <limits>

#include "platform/text/regional.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace clientlib {

namespace {

// Key of the stored form: each byte of the text is XORed with the key's byte in turn and
// written as two upper-case hex digits.
constexpr std::string_view kStoredKey = "Dep#2004!Tv";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of the UTF-8 character starting at `i` (1 for a stray byte).
std::size_t CharLength(std::string_view s, std::size_t i) {
    std::size_t n = 1;
    while (i + n < s.size() && IsContinuationByte(s[i + n])) ++n;
    return n;
}

std::size_t CharCount(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if (!IsContinuationByte(c)) ++n;
    return n;
}

// Letters (accented ones included: any byte of a multi-byte character), digits and "_"
// make up names.
bool IsNameByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
           (c >= 'A' && c <= 'Z') || c == '_';
}

}  // namespace

adodb::Currency UtilityServices::TextToNumber(const std::string& text) const {
    const auto value = text::ParseRegionalNumber(text);
    if (!value) return adodb::Currency{};
    return adodb::Currency::FromDouble(*value);  // out of range: overflow error
}

std::int32_t UtilityServices::TextToLong(const std::string& text) const {
    const auto value = text::ParseRegionalNumber(text);
    if (!value) return 0;
    // Halves go to the even neighbour, as the platform's integer conversion does.
    const double rounded = std::nearbyint(*value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        throw text::RuntimeError(text::errnum::kOverflow, "Desbordamiento: " + text, "TextToLong");
    return static_cast<std::int32_t>(rounded);
}

adodb::Variant UtilityServices::NullToEmpty(const adodb::Variant& value) const {
    if (value.IsNull() || value.IsEmpty() || value.IsMissing()) return adodb::Variant("");
    return value;
}

adodb::Variant UtilityServices::NullToEmpty(const adodb::Field& field) const {
    return NullToEmpty(field.Value());
}

int UtilityServices::WordCount(const std::string& text) const {
    return text::WordCount(text);
}

std::string UtilityServices::StripChars(const std::string& text, const std::string& chars) const {
    // The characters to remove, each as its UTF-8 bytes; the filler is character 255
    // both as the raw Windows-1252 byte and as "ÿ" once converted.
    std::vector<std::string_view> removed = {std::string_view("\0", 1), "\xFF", "ÿ"};
    for (std::size_t i = 0; i < chars.size();) {
        const std::size_t n = CharLength(chars, i);
        removed.push_back(std::string_view(chars).substr(i, n));
        i += n;
    }
    std::string out;
    out.reserve(text.size());
    const std::string_view s(text);
    for (std::size_t i = 0; i < s.size();) {
        bool matched = false;
        for (const auto r : removed) {
            if (s.substr(i, r.size()) == r) {
                i += r.size();
                matched = true;
                break;
            }
        }
        if (!matched) out.push_back(s[i++]);
    }
    return out;
}

std::string UtilityServices::ReplaceAll(const std::string& text, const std::string& find,
                                        const std::string& repl) const {
    // Bytes compared exactly: callers replace symbols ("," by ".", "*" by "%").
    return text::ReplaceAllExact(text, find, repl);
}

void UtilityServices::PrepareWindow(QWidget* window, bool /*flag*/) const {
    if (window == nullptr) return;
    if (!QApplication::windowIcon().isNull()) window->setWindowIcon(QApplication::windowIcon());
    QScreen* screen = window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void UtilityServices::SetProcessState(bool flag, const adodb::Variant& /*value*/) const {
    ui::pointer().SetBusy(flag);
}

std::string UtilityServices::FixedWidth(const std::string& text, int width) const {
    if (width <= 0) return text;
    const auto wanted = static_cast<std::size_t>(width);
    std::size_t count = CharCount(text);
    if (count < wanted) return std::string(wanted - count, ' ') + text;
    // Longer: keep the last `width` characters.
    std::size_t i = 0;
    while (count > wanted) {
        i += CharLength(text, i);
        --count;
    }
    return text.substr(i);
}

std::string UtilityServices::SqlDateLiteral(const std::string& dateText) const {
    const auto date = text::ParseDate(dateText);
    if (!date)
        throw text::RuntimeError(text::errnum::kTypeMismatch,
                                 "El texto no es una fecha: " + dateText, "SqlDateLiteral");
    text::RegionalSettings rs = text::RegionalSettings::Current();
    rs.dateSeparator = '/';
    return "'" + text::FormatDefault(*date, rs) + "'";
}

int UtilityServices::ReportError(const text::RuntimeError& error, const adodb::Variant& value,
                                 const std::string& procedure) const {
    std::string message = "Error " + std::to_string(error.Number()) + ": " + error.Description();
    if (!value.IsMissing() && !value.IsEmpty()) {
        message += "\rValor: ";
        message += value.IsNull() ? std::string("Null") : value.ToString();
    }
    if (!procedure.empty()) message += "\r(en " + procedure + ")";
    return ui::prompter().MsgBox(message, ui::Buttons::AbortRetryIgnore, ui::Icon::Critical,
                                 "Aviso al operador");
}

std::string UtilityServices::EncodeStored(const std::string& text) const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]) ^
                       static_cast<unsigned char>(kStoredKey[i % kStoredKey.size()]);
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 0x0F]);
    }
    return out;
}

std::string UtilityServices::DecodeStored(const std::string& stored) const {
    // Anything that is not a stored form (odd length, not hex) is given back as it is.
    if (stored.size() % 2 != 0) return stored;
    std::string out;
    out.reserve(stored.size() / 2);
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        const int hi = HexValue(stored[i]), lo = HexValue(stored[i + 1]);
        if (hi < 0 || lo < 0) return stored;
        const auto b = static_cast<unsigned char>((hi << 4) | lo) ^
                       static_cast<unsigned char>(kStoredKey[(i / 2) % kStoredKey.size()]);
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string UtilityServices::WithTrailingSeparator(const std::string& folder) const {
    // An empty folder stays empty (the current folder), never the root "/".
    if (folder.empty()) return folder;
    if (folder.back() == '/') return folder;
    if (folder.back() == '\\') return folder.substr(0, folder.size() - 1) + "/";
    return folder + "/";
}

std::string UtilityServices::ReplaceName(const std::string& text, const std::string& name,
                                         const std::string& newName) const {
    if (name.empty()) return text;
    const std::string folded = text::ToLower(text);
    const std::string foldedName = text::ToLower(name);
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0, scan = 0;
    while (true) {
        const auto pos = folded.find(foldedName, scan);
        if (pos == std::string::npos) break;
        const std::size_t end = pos + foldedName.size();
        const bool wordStart = pos == 0 || !IsNameByte(text[pos - 1]) || !IsNameByte(name.front());
        const bool wordEnd =
            end == text.size() || !IsNameByte(text[end]) || !IsNameByte(name.back());
        if (wordStart && wordEnd) {
            out.append(text, from, pos - from);
            out.append(newName);
            from = scan = end;
        } else {
            scan = pos + 1;
        }
    }
    out.append(text, from, std::string::npos);
    return out;
}

}  // namespace clientlib
