#pragma once
// State behind a Connection handle, shared with the recordsets opened on it.
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/adodb/error.h"
#include "platform/adodb/provider.h"
#include "platform/adodb/trace_log.h"

namespace adodb {

struct ConnectionImpl {
    std::string connectionString;
    int cursorLocation = 2;  // server-side, until the program asks for client cursors
    int commandTimeout = 30;
    std::string defaultDatabase;
    std::unique_ptr<Provider> provider;
    ErrorCollection errors;
    std::function<void(const std::string&)> trace;
    std::function<void(bool)> lockWaitObserver;
    bool readOnly = false;
    std::shared_ptr<TraceSink> traceSink;

    bool IsOpen() const { return provider != nullptr; }

    // The open provider; a closed connection raises 3709 for `source`.
    Provider& OpenProvider(const char* source);

    void Trace(const std::string& text) const {
        if (trace) trace(text);
    }

    // Runs `op` and hands the statement log an event of `kind` for it, with the rows the
    // call reports, also when it fails. Without a sink it only runs `op`.
    template <class Op>
    auto Traced(TraceEvent::Kind kind, const std::string& text, Op&& op) -> decltype(op()) {
        if (!traceSink) return op();
        TraceEvent event;
        event.kind = kind;
        event.text = text;
        event.start = std::chrono::system_clock::now();
        const auto began = std::chrono::steady_clock::now();
        try {
            if constexpr (std::is_void_v<decltype(op())>) {
                op();
                event.duration = std::chrono::steady_clock::now() - began;
                Emit(event);
            } else {
                auto result = op();
                event.duration = std::chrono::steady_clock::now() - began;
                Describe(result, event);
                Emit(event);
                return result;
            }
        } catch (const std::exception& e) {
            event.duration = std::chrono::steady_clock::now() - began;
            event.error = e.what();
            Emit(event);
            throw;
        }
    }

    // Runs one operation on the connection: the error collection is cleared first, and
    // any failure is put into it and raised as ComError.
    template <class Op>
    auto Run(Op&& op) -> decltype(op()) {
        errors.Clear();
        try {
            return op();
        } catch (...) {
            RecordAndRethrow(std::current_exception());
        }
    }

    // Puts the failure held by `failure` into the error collection and raises it as
    // ComError (a ComError as it is; anything else converted).
    static void Describe(const ExecuteResult& r, TraceEvent& event) {
        event.rowsAffected = r.recordsAffected;
        if (r.result) event.rowsRead = static_cast<long>(r.result->rows.size());
    }
    static void Describe(long rowsAffected, TraceEvent& event) {
        event.rowsAffected = rowsAffected;
    }
    static void Describe(const IntegrityReport&, TraceEvent&) {}

    // Hands `event` to the sink; a sink that fails does not fail the call.
    void Emit(const TraceEvent& event) const noexcept {
        try {
            traceSink->Write(event);
        } catch (...) {
        }
    }

    [[noreturn]] void RecordAndRethrow(std::exception_ptr failure);
};

}  // namespace adodb
