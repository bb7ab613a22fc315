#pragma once
// The statement log of a connection: every statement sent, with its start time, its duration
// and the rows it affected (or read), and every transaction call. A sink receives each event
// after the call ends; the file sink writes one UTF-8 line per event and flushes it at once,
// so the log is complete up to the last call even when the program is stopped.
//
// Passwords never appear: the connection string is never part of an event, and any
// "PWD=..." or "Password=..." (also "PASSWORD = '...'") in a text is masked when a line is
// written.
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace adodb {

struct TraceEvent {
    enum class Kind { Open, Close, Statement, Change, BeginTrans, CommitTrans, RollbackTrans };
    Kind kind = Kind::Statement;
    // Statement: the text as sent; Change: "Update <table>" or "Insert <table>" for a row a
    // recordset wrote; Open: the provider's name (never the connection string).
    std::string text;
    std::chrono::system_clock::time_point start;
    std::chrono::steady_clock::duration duration{};
    long rowsAffected = -1;  // statements other than queries, and changes
    long rowsRead = -1;      // queries
    std::string error;       // the failure's description; empty when the call succeeded
};

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    // Called once per event, on the thread that made the call. What it throws is ignored.
    virtual void Write(const TraceEvent& event) = 0;
};

// `text` with the value of every PWD or Password key (letter case ignored, blanks around
// '=' allowed; a value in braces, quotes or up to the next ';' or blank) replaced by "****".
std::string MaskPasswords(std::string_view text);

// One line for `event`, without its line end:
//   <local time, ISO 8601 with milliseconds and offset> TAB <duration> ms TAB <what> TAB <text>
// where <what> is "filas afectadas: N", "filas leídas: N", "ERROR: <description>" or a call's
// name. Line breaks inside texts are written as "\n"; passwords are masked; bytes that are not
// UTF-8 are read as Windows-1252.
std::string FormatTraceLine(const TraceEvent& event);

// Appends the lines to a file (created when missing). A write that fails is remembered and
// the lines after it are dropped; the program goes on.
class FileTraceSink final : public TraceSink {
  public:
    // Raises text::RuntimeError with a readable description when the file cannot be opened.
    explicit FileTraceSink(const std::string& path);
    void Write(const TraceEvent& event) override;
    // Empty while every line was written; otherwise why the log stopped.
    std::string Failure() const;

  private:
    struct Closer {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };
    mutable std::mutex mutex_;
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
    std::string failure_;
};

}  // namespace adodb
