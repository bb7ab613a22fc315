// The check of the database before a purge: a sound file passes, a file with a damaged page
// is reported with the engine's findings, a server has nothing to check.
#include "db/integrity_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixture_db.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> ManyRows() {
    std::vector<std::string> s = {"CREATE TABLE MOV (ID INTEGER PRIMARY KEY, TEXTO VARCHAR(200))"};
    s.push_back(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO MOV SELECT i, printf('%0100d', i) FROM n");
    return s;
}

// Overwrites page `page` (counted from 1) of the file with bytes no page can hold.
void DamagePage(const std::string& file, int page) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(page - 1) * 4096);
    const std::string junk(4096, '\xFF');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
}

TEST(IntegrityCheck, SoundFileDamagedCopyAndServer) {
    testsupport::TempDir dir;
    const std::string sound = dir.File("sana.db");
    const std::string damaged = dir.File("copia.db");
    {
        dbtest::SqliteDb healthy(sound, ManyRows());
        const db::IntegrityVerdict v = db::CheckIntegrity(healthy.db);
        EXPECT_TRUE(v.ok);
        EXPECT_TRUE(v.checked);
        EXPECT_TRUE(v.message.empty());
    }
    std::filesystem::copy_file(sound, damaged);
    ASSERT_GT(std::filesystem::file_size(damaged), 20u * 4096);
    DamagePage(damaged, 12);

    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "read-write");
        db::DB_Dll database;
        database.gDbName = damaged;
        database.gCnn.SetReadOnly(readOnly);
        database.gCnn.Open(dbtest::SqliteConnectionString(damaged));
        const db::IntegrityVerdict v = db::CheckIntegrity(database, 3);
        EXPECT_FALSE(v.ok);
        EXPECT_TRUE(v.checked);
        EXPECT_EQ(v.message.rfind("La base de datos " + damaged +
                                      " está dañada y no se depurará nada.\n\nPrimeros problemas "
                                      "encontrados:\n",
                                  0),
                  0u)
            << v.message;
        EXPECT_NE(v.message.find("encontrados:\nPage 12: "), std::string::npos) << v.message;
    }

    dbtest::RecordingDb server("srv");
    const db::IntegrityVerdict v = db::CheckIntegrity(server.db);
    EXPECT_TRUE(v.ok);
    EXPECT_FALSE(v.checked);
    EXPECT_TRUE(server.recorder->Statements().empty());
}

}  // namespace
