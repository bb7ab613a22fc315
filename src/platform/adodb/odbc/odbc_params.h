#pragma once
// Values bound as statement parameters. The buffers live as long as this object, which
// must outlast the statement's execution. Internal to the ODBC provider.
#include <deque>
#include <string>

#include "platform/adodb/odbc/odbc_call.h"
#include "platform/adodb/variant.h"

namespace adodb::odbc {

class Parameters {
  public:
    void Add(const Variant& value);
    // Binds every value added, in order, as input parameters 1..n of `stmt`.
    void Bind(const Handle& stmt, const DiagContext& ctx);

  private:
    struct Slot {
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLSMALLINT sqlType = SQL_VARCHAR;
        SQLULEN columnSize = 1;
        SQLSMALLINT decimals = 0;
        std::string text;  // character data
        SQLBIGINT integer = 0;
        double real = 0;
        unsigned char bit = 0;
        SQL_TIMESTAMP_STRUCT stamp{};
        SQLLEN indicator = 0;
    };
    std::deque<Slot> slots_;  // a deque keeps each slot where it is as more are added
};

}  // namespace adodb::odbc
