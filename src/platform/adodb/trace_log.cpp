#include "platform/adodb/trace_log.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/text/runtime_error.h"
#include "platform/text/strings.h"

namespace adodb {
namespace {

bool IsWordChar(char c) {
    const auto uc = static_cast<unsigned char>(c);
    return (uc >= 'A' && uc <= 'Z') || (uc >= 'a' && uc <= 'z') || (uc >= '0' && uc <= '9') ||
           uc == '_' || uc >= 0x80;
}

bool EndsWithNoCase(std::string_view word, std::string_view suffix) {
    if (word.size() < suffix.size()) return false;
    const std::string_view tail = word.substr(word.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != suffix[i]) return false;
    }
    return true;
}

// The end of a value starting at `i`: past its closing delimiter when it has one.
std::size_t ValueEnd(std::string_view s, std::size_t i, std::size_t& innerStart,
                     std::size_t& innerEnd) {
    const std::size_t n = s.size();
    char close = 0;
    if (i < n && s[i] == '{') close = '}';
    if (i < n && (s[i] == '\'' || s[i] == '"')) close = s[i];
    if (close == 0) {
        std::size_t j = i;
        while (j < n && s[j] != ';' && s[j] != ' ' && s[j] != '\t' && s[j] != '\r' &&
               s[j] != '\n' && s[j] != ',' && s[j] != ')')
            ++j;
        innerStart = i;
        innerEnd = j;
        return j;
    }
    std::size_t j = i + 1;
    while (j < n) {
        if (s[j] == close) {
            if (j + 1 < n && s[j + 1] == close) {
                j += 2;
                continue;
            }
            innerStart = i + 1;
            innerEnd = j;
            return j + 1;
        }
        ++j;
    }
    innerStart = i + 1;  // never closed: masked to the end
    innerEnd = n;
    return n;
}

std::string LocalTime(std::chrono::system_clock::time_point t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()) %
                    std::chrono::seconds(1);
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32];
    char offset[8];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(offset, sizeof offset, "%z", &local);  // +0100
    std::string zone(offset);
    if (zone.size() == 5) zone.insert(3, ":");
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03d",
                  static_cast<int>(ms.count() < 0 ? 0 : ms.count()));
    return std::string(date) + millis + zone;
}

std::string Milliseconds(std::chrono::steady_clock::duration d) {
    const double ms = std::chrono::duration<double, std::milli>(d).count();
    char out[32];
    std::snprintf(out, sizeof out, "%.3f ms", ms);
    return out;
}

// Readable UTF-8 on one line, passwords masked.
std::string Clean(std::string_view raw) {
    std::string s = text::IsValidUtf8(raw) ? std::string(raw) : text::Cp1252ToUtf8(raw);
    s = MaskPasswords(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += "\\n";
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

const char* CallName(TraceEvent::Kind kind) {
    switch (kind) {
        case TraceEvent::Kind::Open:
            return "Open";
        case TraceEvent::Kind::Close:
            return "Close";
        case TraceEvent::Kind::BeginTrans:
            return "BeginTrans";
        case TraceEvent::Kind::CommitTrans:
            return "CommitTrans";
        case TraceEvent::Kind::RollbackTrans:
            return "RollbackTrans";
        case TraceEvent::Kind::Change:
        case TraceEvent::Kind::Statement:
            break;
    }
    return "";
}

}  // namespace

std::string MaskPasswords(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (!IsWordChar(s[i])) {
            out += s[i++];
            continue;
        }
        std::size_t end = i;
        while (end < s.size() && IsWordChar(s[end])) ++end;
        const std::string_view word = s.substr(i, end - i);
        out.append(word);
        i = end;
        if (!EndsWithNoCase(word, "PWD") && !EndsWithNoCase(word, "PASSWORD")) continue;
        std::size_t j = i;
        while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
        if (j >= s.size() || s[j] != '=') continue;
        ++j;
        while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
        // N'...' is a quoted value too.
        if (j + 1 < s.size() && (s[j] == 'N' || s[j] == 'n') && s[j + 1] == '\'') ++j;
        std::size_t innerStart = 0, innerEnd = 0;
        const std::size_t valueEnd = ValueEnd(s, j, innerStart, innerEnd);
        out.append(s.substr(i, innerStart - i));
        out += "****";
        out.append(s.substr(innerEnd, valueEnd - innerEnd));
        i = valueEnd;
    }
    return out;
}

std::string FormatTraceLine(const TraceEvent& e) {
    std::string what;
    if (!e.error.empty()) {
        what = "ERROR: " + Clean(e.error);
    } else if (e.kind == TraceEvent::Kind::Statement && e.rowsRead >= 0) {
        what = "filas leídas: " + std::to_string(e.rowsRead);
    } else if ((e.kind == TraceEvent::Kind::Statement || e.kind == TraceEvent::Kind::Change) &&
               e.rowsAffected >= 0) {
        what = "filas afectadas: " + std::to_string(e.rowsAffected);
    } else {
        what = "-";
    }
    std::string body = CallName(e.kind);
    if (!e.text.empty()) body += (body.empty() ? "" : " ") + Clean(e.text);
    return LocalTime(e.start) + "\t" + Milliseconds(e.duration) + "\t" + what + "\t" + body;
}

FileTraceSink::FileTraceSink(const std::string& path) : path_(path) {
    file_.reset(std::fopen(path.c_str(), "ab"));
    if (!file_) {
        throw text::RuntimeError(
            text::errnum::kInvalidArgument,
            "No se puede abrir el archivo de traza " + path + ": " + std::strerror(errno) + ".",
            "Traza");
    }
}

void FileTraceSink::Write(const TraceEvent& event) {
    const std::string line = FormatTraceLine(event) + "\n";
    std::lock_guard lock(mutex_);
    if (!failure_.empty()) return;
    if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
        std::fflush(file_.get()) != 0) {
        failure_ = "No se pudo escribir en el archivo de traza " + path_ + ": " +
                   std::strerror(errno) + ".";
    }
}

std::string FileTraceSink::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

}  // namespace adodb
