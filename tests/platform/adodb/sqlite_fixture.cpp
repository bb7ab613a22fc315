#include "sqlite_fixture.h"

#include "platform/collation/suite_collation.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace sqlitetest {

void CreateDatabase(const std::string& file, const std::string& sql) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot create " + file);
    collation::RegisterSuiteCollation(db.get());
    char* message = nullptr;
    // One transaction: the fixture is built with a single sync to disk.
    const std::string script = "BEGIN;\n" + sql + "\nCOMMIT;";
    if (sqlite3_exec(db.get(), script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message != nullptr ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("fixture SQL failed: " + text);
    }
}

std::string ConnectionStringFor(const std::string& file) {
    return "PROVIDER=SQLOLEDB;Server=x; Database = " + file + " ;UId=u;Pwd=;";
}

std::string Render(const adodb::Variant& v) {
    switch (v.Type()) {
        case adodb::VarType::Null:
            return "NULL";
        case adodb::VarType::Empty:
            return "EMPTY";
        case adodb::VarType::Date:
            return v.RawDate().ToIso();
        case adodb::VarType::String:
            return v.RawString();
        case adodb::VarType::Boolean:
            return v.RawBool() ? "true" : "false";
        case adodb::VarType::Integer:
        case adodb::VarType::Long:
            return std::to_string(v.RawInt());
        case adodb::VarType::Double: {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%g", v.RawDouble());
            return buf;
        }
        case adodb::VarType::Currency: {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%g", v.RawCurrency().ToDouble());
            return buf;
        }
        default:
            return "?";
    }
}

std::vector<std::string> Rows(const adodb::ResultSet& rs) {
    std::vector<std::string> out;
    for (const auto& row : rs.rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + Render(row[i]);
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> Rows(adodb::Connection& c, const std::string& sql) {
    adodb::Recordset rs = c.Execute(sql);
    std::vector<std::string> out;
    while (!rs.EOF()) {
        std::string line;
        for (int i = 0; i < rs.FieldCount(); ++i)
            line += (i ? "|" : "") + Render(rs.Fields(i).Value());
        out.push_back(line);
        rs.MoveNext();
    }
    return out;
}

std::vector<std::string> Rows(adodb::Provider& p, const std::string& sql) {
    adodb::ExecuteResult r = p.Execute(sql, 30);
    if (!r.result) throw std::runtime_error("no result from: " + sql);
    return Rows(*r.result);
}

}  // namespace sqlitetest
