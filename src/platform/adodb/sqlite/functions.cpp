#include "platform/adodb/sqlite/functions.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <optional>
#include <string>

#include "platform/adodb/sqlite/date_styles.h"
#include "platform/adodb/sqlite/session.h"
#include "platform/collation/suite_collation.h"
#include "platform/collation/text_compare.h"
#include "platform/text/strings.h"

namespace adodb::sqlite {
namespace {

using collation::FindText;
using collation::LikeMatch;

// Errors raised by the functions start with their SQL state in brackets; the provider
// reads it back to report the error with the right number.
void Fail(sqlite3_context* ctx, const char* state, const std::string& message, int code) {
    const std::string text = std::string("[") + state + "] " + message;
    sqlite3_result_error(ctx, text.c_str(), -1);
    sqlite3_result_error_code(ctx, code);
}

void FailConversion(sqlite3_context* ctx, const char* state, const std::string& message) {
    Fail(ctx, state, message, SQLITE_MISMATCH);
}

std::string_view TextOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p == nullptr ? std::string_view()
                        : std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

void ResultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

bool AnyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    }
    return false;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A number written in a text as SQL Server reads it: "." as decimal point, whatever the
// regional settings. Blank text reads as 0.
std::optional<double> ReadNumber(std::string_view s) {
    s = Trimmed(s);
    if (s.empty()) return 0.0;
    if (s.front() == '+') s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<long long> ReadWhole(std::string_view s) {
    s = Trimmed(s);
    if (s.empty()) return 0;
    if (s.front() == '+') s.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

const Session& SessionOf(sqlite3_context* ctx) {
    return **static_cast<std::shared_ptr<const Session>*>(sqlite3_user_data(ctx));
}

void DestroySession(void* p) {
    delete static_cast<std::shared_ptr<const Session>*>(p);
}

std::optional<text::DateTime> ValueAsDate(sqlite3_context* ctx, sqlite3_value* v, int style) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return DateFromServerDays(sqlite3_value_double(v));
        case SQLITE_TEXT:
            return ReadDateInStyle(TextOf(v), style, SessionOf(ctx).Dates());
        default:
            return std::nullopt;
    }
}

std::string NumberText(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return buf;
}

// ---- the functions -------------------------------------------------------------------

// like(pattern, value [, escape]): SQLite calls it for "value LIKE pattern".
void Like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view e = TextOf(argv[2]);
        if (e.size() != 1) {
            return Fail(ctx, "22019", "El carácter de escape de LIKE debe ser uno solo",
                        SQLITE_ERROR);
        }
        escape = static_cast<unsigned char>(e[0]);
    }
    sqlite3_result_int(ctx, LikeMatch(TextOf(argv[0]), TextOf(argv[1]), escape) ? 1 : 0);
}

// suite_add(a, b): SQL Server's "+": texts are joined, a date plus a number moves the
// date by days, anything else is added as numbers (a text that is no number fails).
void Add(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    const int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        return ResultText(ctx, std::string(TextOf(argv[0])) + std::string(TextOf(argv[1])));
    }
    for (int i = 0; i < 2; ++i) {
        sqlite3_value* date = argv[i];
        sqlite3_value* days = argv[1 - i];
        if (sqlite3_value_type(date) != SQLITE_TEXT || sqlite3_value_type(days) == SQLITE_TEXT)
            continue;
        if (auto d = text::DateTime::FromIso(TextOf(date))) {
            if (auto moved = DateFromSerial(d->ToSerial() + sqlite3_value_double(days))) {
                return ResultText(ctx, moved->ToIso());
            }
            return FailConversion(ctx, "22008", "La fecha resultante está fuera del rango válido");
        }
    }
    auto number = [&](sqlite3_value* v) -> std::optional<double> {
        if (sqlite3_value_type(v) == SQLITE_TEXT) return ReadNumber(TextOf(v));
        return sqlite3_value_double(v);
    };
    const bool whole =
        (ta == SQLITE_INTEGER || (ta == SQLITE_TEXT && ReadWhole(TextOf(argv[0])))) &&
        (tb == SQLITE_INTEGER || (tb == SQLITE_TEXT && ReadWhole(TextOf(argv[1]))));
    if (whole) {
        const long long a =
            ta == SQLITE_TEXT ? *ReadWhole(TextOf(argv[0])) : sqlite3_value_int64(argv[0]);
        const long long b =
            tb == SQLITE_TEXT ? *ReadWhole(TextOf(argv[1])) : sqlite3_value_int64(argv[1]);
        long long sum = 0;
        if (!__builtin_add_overflow(a, b, &sum)) return sqlite3_result_int64(ctx, sum);
        return sqlite3_result_double(ctx, static_cast<double>(a) + static_cast<double>(b));
    }
    const auto a = number(argv[0]);
    const auto b = number(argv[1]);
    if (!a || !b) {
        const std::string bad(TextOf(a ? argv[1] : argv[0]));
        return FailConversion(ctx, "22018",
                              "Error al convertir el valor '" + bad + "' en un número");
    }
    sqlite3_result_double(ctx, *a + *b);
}

void ToInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        case SQLITE_FLOAT: {
            const double d = std::trunc(sqlite3_value_double(argv[0]));
            if (d >= -9.2e18 && d <= 9.2e18) {
                return sqlite3_result_int64(ctx, static_cast<long long>(d));
            }
            return FailConversion(ctx, "22003", "Desbordamiento al convertir un número en int");
        }
        default:
            break;
    }
    if (auto v = ReadWhole(TextOf(argv[0]))) return sqlite3_result_int64(ctx, *v);
    FailConversion(ctx, "22018",
                   "Error al convertir el valor '" + std::string(TextOf(argv[0])) + "' en int");
}

// suite_num(value, scale): a number rounded to `scale` decimals (-1: not rounded).
void ToNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    std::optional<double> v;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            v = sqlite3_value_double(argv[0]);
            break;
        default:
            v = ReadNumber(TextOf(argv[0]));
            break;
    }
    if (!v) {
        return FailConversion(
            ctx, "22018",
            "Error al convertir el valor '" + std::string(TextOf(argv[0])) + "' en un número");
    }
    const int scale = sqlite3_value_int(argv[1]);
    if (scale >= 0) {
        const double f = std::pow(10.0, scale);
        v = std::round(*v * f) / f;
    }
    sqlite3_result_double(ctx, *v);
}

void ToBit(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0 ? 1 : 0);
        default:
            break;
    }
    const std::string_view t = Trimmed(TextOf(argv[0]));
    if (text::EqualsNoCase(t, "true")) return sqlite3_result_int(ctx, 1);
    if (text::EqualsNoCase(t, "false")) return sqlite3_result_int(ctx, 0);
    if (auto n = ReadNumber(t)) return sqlite3_result_int(ctx, *n != 0 ? 1 : 0);
    FailConversion(ctx, "22018", "Error al convertir el valor '" + std::string(t) + "' en bit");
}

// suite_date(value, style, dateOnly)
void ToDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    auto d = ValueAsDate(ctx, argv[0], sqlite3_value_int(argv[1]));
    if (!d) {
        return FailConversion(
            ctx, "22007",
            "No se puede convertir el texto '" + std::string(TextOf(argv[0])) + "' en una fecha");
    }
    if (sqlite3_value_int(argv[2]) != 0) d->hour = d->minute = d->second = 0;
    ResultText(ctx, d->ToIso());
}

// suite_text(value, length, pad, style, isDate): length -1 = unlimited.
void ToText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    std::string out;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
            out = std::to_string(sqlite3_value_int64(argv[0]));
            break;
        case SQLITE_FLOAT:
            out = NumberText(sqlite3_value_double(argv[0]));
            break;
        default: {
            out = std::string(TextOf(argv[0]));
            if (sqlite3_value_int(argv[4]) != 0) {
                if (auto d = text::DateTime::FromIso(out)) {
                    out = WriteDateInStyle(*d, sqlite3_value_int(argv[3]));
                }
            }
        }
    }
    const long length = sqlite3_value_int(argv[1]);
    if (length >= 0) {
        // Cut by characters, not bytes.
        std::size_t bytes = 0;
        long chars = 0;
        while (bytes < out.size() && chars < length) {
            ++bytes;
            while (bytes < out.size() && (static_cast<unsigned char>(out[bytes]) & 0xC0) == 0x80)
                ++bytes;
            ++chars;
        }
        out.resize(bytes);
        if (sqlite3_value_int(argv[2]) != 0 && chars < length) {
            out.append(static_cast<std::size_t>(length - chars), ' ');
        }
    }
    ResultText(ctx, out);
}

void CharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    const long start = argc == 3 ? static_cast<long>(sqlite3_value_int64(argv[2])) : 1;
    sqlite3_result_int64(ctx, FindText(TextOf(argv[0]), TextOf(argv[1]), start));
}

void Right(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0) return Fail(ctx, "42000", "Longitud negativa en la función RIGHT", SQLITE_ERROR);
    const std::string_view s = TextOf(argv[0]);
    std::size_t start = s.size();
    long long chars = 0;
    while (start > 0 && chars < n) {
        --start;
        while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
        ++chars;
    }
    ResultText(ctx, std::string(s.substr(start)));
}

// suite_substring(text, start, length): the characters at positions start to
// start + length - 1, counted from 1; positions before the first give nothing.
void Substring(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
    const long long start = sqlite3_value_int64(argv[1]);
    const long long length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        return Fail(ctx, "42000", "Parámetro de longitud no válido pasado a la función SUBSTRING",
                    SQLITE_ERROR);
    }
    const long long first = std::max(start, 1LL);
    const long long last = start + length - 1;  // inclusive
    const std::string_view s = TextOf(argv[0]);
    std::size_t begin = s.size(), end = s.size();
    long long position = 1;
    for (std::size_t i = 0; i <= s.size(); ++position) {
        if (position == first) begin = i;
        if (position == last + 1) {
            end = i;
            break;
        }
        if (i == s.size()) break;
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    if (last < first || begin >= end) return ResultText(ctx, std::string());
    ResultText(ctx, std::string(s.substr(begin, end - begin)));
}

void Replace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, text::ReplaceAll(TextOf(argv[0]), TextOf(argv[1]), TextOf(argv[2])));
}

void Upper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, text::ToUpper(TextOf(argv[0])));
}

void Lower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, text::ToLower(TextOf(argv[0])));
}

void GetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const text::DateTime d{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                           local.tm_hour,        local.tm_min,     local.tm_sec};
    ResultText(ctx, d.ToIso());
}

// suite_datepart('Y' | 'M' | 'D', value)
void DatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    const auto d = ValueAsDate(ctx, argv[1], -1);
    if (!d) {
        return FailConversion(
            ctx, "22007",
            "No se puede convertir el texto '" + std::string(TextOf(argv[1])) + "' en una fecha");
    }
    const std::string_view part = TextOf(argv[0]);
    sqlite3_result_int(ctx, part == "Y" ? d->year : part == "M" ? d->month : d->day);
}

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);

void Define(sqlite3* db, const char* name, int args, Function f, bool deterministic = true) {
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function_v2(db, name, args, flags, nullptr, f, nullptr, nullptr, nullptr);
}

void DefineWithSession(sqlite3* db, const char* name, int args, Function f,
                       const std::shared_ptr<const Session>& session) {
    // The engine owns this copy of the pointer and releases it through DestroySession
    // when the function is replaced or the connection closes.
    auto* state = new std::shared_ptr<const Session>(session);
    sqlite3_create_function_v2(db, name, args, SQLITE_UTF8 | SQLITE_INNOCUOUS, state, f, nullptr,
                               nullptr, DestroySession);
}

}  // namespace

void RegisterSuiteFunctions(sqlite3* db, std::shared_ptr<const Session> session) {
    collation::RegisterSuiteCollation(db);
    Define(db, "like", 2, Like);
    Define(db, "like", 3, Like);
    Define(db, "suite_add", 2, Add);
    Define(db, "suite_int", 1, ToInt);
    Define(db, "suite_num", 2, ToNumber);
    Define(db, "suite_bit", 1, ToBit);
    Define(db, "suite_text", 5, ToText);
    Define(db, "suite_charindex", 2, CharIndex);
    Define(db, "suite_charindex", 3, CharIndex);
    Define(db, "suite_right", 2, Right);
    Define(db, "suite_substring", 3, Substring);
    Define(db, "suite_replace", 3, Replace);
    Define(db, "suite_upper", 1, Upper);
    Define(db, "suite_lower", 1, Lower);
    Define(db, "suite_getdate", 0, GetDate, false);
    DefineWithSession(db, "suite_date", 3, ToDate, session);
    DefineWithSession(db, "suite_datepart", 2, DatePart, session);
}

void RegisterSuiteFunctions(sqlite3* db) {
    RegisterSuiteFunctions(db, std::make_shared<const Session>());
}

}  // namespace adodb::sqlite
