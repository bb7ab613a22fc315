#pragma once
// Data-type numbers and sizes of fields, from the type a column is declared with in the
// database schema ("VARCHAR(50)", "INT", "DATETIME", ...).
#include <string_view>

namespace adodb::sqlite {

struct FieldType {
    int type = 0;   // adodb::dtype number; 0 when the declaration says nothing usable
    long size = 0;  // declared character length for texts, byte size otherwise
};

FieldType MapDeclaredType(std::string_view declared);

// DATE, DATETIME, SMALLDATETIME, DATETIME2: the column holds ISO-8601 text.
bool IsDateType(std::string_view declared);
// CHAR, VARCHAR, NCHAR, NVARCHAR, TEXT, NTEXT (and SQLite's own TEXT/CLOB spellings).
bool IsTextType(std::string_view declared);

}  // namespace adodb::sqlite
