// The statement log: what each line says, the masking of passwords, and a short session
// on the embedded engine written to a file line by line.
#include "platform/adodb/trace_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/adodb/connection.h"
#include "platform/text/runtime_error.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using adodb::TraceEvent;

std::vector<std::string> Lines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The fields after the time and the duration: what and text.
std::string Tail(const std::string& line) {
    const auto first = line.find('\t');
    const auto second = line.find('\t', first + 1);
    return line.substr(second + 1);
}

// True when `line` begins with `shape`, where '#' stands for a digit and '~' for '+' or '-'.
// (std::regex trips a false uninitialised-value warning of GCC 12 under the sanitizers.)
bool StartsWithShape(const std::string& line, const std::string& shape) {
    if (line.size() < shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = line[i];
        const char s = shape[i];
        if (s == '#' ? (c < '0' || c > '9') : s == '~' ? (c != '+' && c != '-') : c != s)
            return false;
    }
    return true;
}

TEST(TraceLog, PasswordsAreMaskedWhereverTheyAppear) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Provider=SQLOLEDB;UId=sa;Pwd=secreto;Database=x",
         "Provider=SQLOLEDB;UId=sa;Pwd=****;Database=x"},
        {"User Id=u;Password = {a;b}}c} ;x=1", "User Id=u;Password = {****} ;x=1"},
        {"UPDATE USUARIOS SET PASSWORD = 'it''s' WHERE ID = 1",
         "UPDATE USUARIOS SET PASSWORD = '****' WHERE ID = 1"},
        {"UPDATE U SET pwd=N'clave', X = 2", "UPDATE U SET pwd=N'****', X = 2"},
        {"gUserPassWord=abc def", "gUserPassWord=**** def"},
        {"PWD='sin cerrar", "PWD='****"},
        {"Pwd=", "Pwd=****"},
        // Names alone, and keys that only begin like one, are left as they are.
        {"SELECT PASSWORD, PWD FROM U WHERE PasswordHint = 3",
         "SELECT PASSWORD, PWD FROM U WHERE PasswordHint = 3"},
    };
    for (const auto& c : cases) EXPECT_EQ(adodb::MaskPasswords(c.in), c.out) << c.in;
}

TEST(TraceLog, LineSaysWhatHappenedOnOneUtf8Line) {
    TraceEvent e;
    e.start = std::chrono::system_clock::now();
    e.duration = std::chrono::microseconds(12345);
    e.text = "SELECT 'a\xF1o'\r\nFROM T\nWHERE Pwd='x'";  // Windows-1252 ñ
    e.rowsRead = 4;
    const std::string line = adodb::FormatTraceLine(e);
    EXPECT_TRUE(StartsWithShape(line, "####-##-##T##:##:##.###~##:##\t12.345 ms\t")) << line;
    EXPECT_EQ(Tail(line), "filas leídas: 4\tSELECT 'año'\\nFROM T\\nWHERE Pwd='****'");

    const struct {
        TraceEvent::Kind kind;
        const char* text;
        long affected;
        const char* error;
        const char* tail;
    } cases[] = {
        {TraceEvent::Kind::Statement, "DELETE T", 7, "", "filas afectadas: 7\tDELETE T"},
        {TraceEvent::Kind::Statement, "DELETE X", -1, "No existe X",
         "ERROR: No existe X\tDELETE X"},
        {TraceEvent::Kind::Change, "Insert ARTICULOS", 1, "",
         "filas afectadas: 1\tInsert ARTICULOS"},
        {TraceEvent::Kind::BeginTrans, "", -1, "", "-\tBeginTrans"},
        {TraceEvent::Kind::RollbackTrans, "", -1, "", "-\tRollbackTrans"},
        {TraceEvent::Kind::Open, "Motor", -1, "", "-\tOpen Motor"},
    };
    for (const auto& c : cases) {
        TraceEvent ev;
        ev.kind = c.kind;
        ev.text = c.text;
        ev.rowsAffected = c.affected;
        ev.error = c.error;
        EXPECT_EQ(Tail(adodb::FormatTraceLine(ev)), c.tail);
    }
}

TEST(TraceLog, FileThatCannotBeOpenedIsAReadableError) {
    testsupport::TempDir dir;
    try {
        adodb::FileTraceSink sink(dir.File("no/existe/traza.log"));
        FAIL() << "opened";
    } catch (const text::RuntimeError& e) {
        EXPECT_NE(e.Description().find("archivo de traza"), std::string::npos);
    }
}

TEST(TraceLog, SessionOnTheEmbeddedEngineIsWrittenLineByLine) {
    testsupport::TempDir dir;
    const std::string db = dir.File("t.db");
    const std::string log = dir.File("traza.log");
    sqlitetest::CreateDatabase(db, "CREATE TABLE T (K INT PRIMARY KEY, V INT);");
    auto sink = std::make_shared<adodb::FileTraceSink>(log);
    adodb::Connection c;
    c.SetTrace(sink);
    c.Open("Provider=SQLOLEDB;Database=" + db + ";UId=sa;Pwd=topsecret;");
    c.BeginTrans();
    long affected = 0;
    c.Execute("INSERT INTO T (K, V) SELECT 1, 10 UNION ALL SELECT 2, 20", &affected);
    c.CommitTrans();
    // Each line is in the file as soon as its call has ended.
    EXPECT_EQ(Lines(log).size(), 4u);
    adodb::Recordset rs;
    rs.Open("SELECT K, V FROM T WHERE K = 1", c, 1, 3);
    rs.Fields("V").SetValue(adodb::Variant(std::int32_t{11}));
    rs.Update();
    EXPECT_THROW(c.Execute("SELECT * FROM FALTA"), adodb::ComError);
    c.Close();

    const auto lines = Lines(log);
    std::vector<std::string> tails;
    for (const auto& l : lines) tails.push_back(Tail(l));
    ASSERT_EQ(tails.size(), 8u);
    EXPECT_EQ(tails[0], "-\tOpen Motor local SQLite");
    EXPECT_EQ(tails[1], "-\tBeginTrans");
    EXPECT_EQ(tails[2],
              "filas afectadas: 2\tINSERT INTO T (K, V) SELECT 1, 10 UNION ALL SELECT 2, 20");
    EXPECT_EQ(tails[3], "-\tCommitTrans");
    EXPECT_EQ(tails[4], "filas leídas: 1\tSELECT K, V FROM T WHERE K = 1");
    EXPECT_EQ(tails[5], "filas afectadas: 1\tUpdate T");
    EXPECT_EQ(tails[6].rfind("ERROR: ", 0), 0u) << tails[6];
    EXPECT_EQ(tails[7], "-\tClose");
    for (const auto& l : lines) EXPECT_EQ(l.find("topsecret"), std::string::npos);
    EXPECT_TRUE(sink->Failure().empty());
}

}  // namespace
