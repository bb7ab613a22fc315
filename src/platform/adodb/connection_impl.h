#pragma once
// State behind a Connection handle, shared with the recordsets opened on it.
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/adodb/error.h"
#include "platform/adodb/provider.h"

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

    bool IsOpen() const { return provider != nullptr; }

    // The open provider; a closed connection raises 3709 for `source`.
    Provider& OpenProvider(const char* source);

    void Trace(const std::string& text) const {
        if (trace) trace(text);
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
    [[noreturn]] void RecordAndRethrow(std::exception_ptr failure);
};

}  // namespace adodb
