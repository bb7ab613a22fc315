#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lookup/list_lookup.h"
#include "lookup/lookup_fixture.h"
#include "lookup/widths_file.h"

namespace {

using lookup::ListLookup;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class WidthsTest : public ::testing::Test {
  protected:
    WidthsTest()
        : database(lookuptest::ArticlesSql()), file(database.Dir().File("CONSULTASLEN.OVL")) {}

    std::vector<double> Widths(const std::string& sql) {
        logic = std::make_unique<ListLookup>(view, database.Reader());
        logic->SetWidthsFolder(database.Dir().Path().string());
        logic->Datos().SQL = sql;
        logic->Form_Load();
        std::vector<double> widths;
        for (const auto& c : logic->Lista().columns) widths.push_back(c.width);
        return widths;
    }

    lookuptest::LookupDatabase database;
    std::string file;
    lookuptest::FakeView view;
    std::unique_ptr<ListLookup> logic;
};

TEST_F(WidthsTest, SavedWidthsAreAppliedByTableKey) {
    const std::string sql = "select IDARTICULO, DESCRIPCION, PRECIO1 from v_ma_articulos";
    EXPECT_EQ(Widths(sql), (std::vector<double>{2500, 6000, 1900}));  // no file: letters X

    // Two records of the key apply in order (the later last); other keys and LF lines too.
    WriteAll(file,
             "\"V_MA_ARTICULOS\",\"100|200|300|\"\r\n"
             "\"OTRA\",\"1|2|3|\"\n"
             "\"v_ma_articulos\",\"1440|2895,5|\"\r\n");
    EXPECT_EQ(Widths(sql), (std::vector<double>{1440, 2895.5, 300}));
    EXPECT_EQ(logic->Boxes()[1].left, 1440);
    EXPECT_EQ(logic->Boxes()[1].width, 2895.5 - 50);

    // A short record sets the leading columns and ends the reading.
    WriteAll(file, "\"V_MA_ARTICULOS\",\"700|\"\r\n\"V_MA_ARTICULOS\",\"1|2|3|\"\r\n");
    EXPECT_EQ(Widths(sql), (std::vector<double>{700, 6000, 1900}));

    // Stk_ma_articulos reads the record of VT_MA_ARTICULOS.
    database.Exec("CREATE VIEW Stk_ma_articulos AS SELECT * FROM V_MA_ARTICULOS");
    WriteAll(file, "\"VT_MA_ARTICULOS\",\"11|22|\"\r\n");
    EXPECT_EQ(Widths("select IDARTICULO, DESCRIPCION from Stk_ma_articulos"),
              (std::vector<double>{11, 22}));
    EXPECT_EQ(logic->TablaConsulta(), "VT_MA_ARTICULOS");
}

TEST_F(WidthsTest, SavingKeepsOtherRecordsInOrderAndReplacesTheFileWhole) {
    WriteAll(file, "\"PRIMERA\",\"1|\"\r\n\"V_TA_CPTE\",\"5|5|\"\r\n\"\xDALTIMA\",\"3|\"\r\n");
    Widths("select Codigo, Descripcion from V_TA_CPTE");
    logic->Lista().columns[0].width = 1234;
    logic->Datos().GrabarCfg = true;
    logic->Form_Unload();
    EXPECT_EQ(ReadAll(file),
              "\"PRIMERA\",\"1|\"\r\n\"\xDALTIMA\",\"3|\"\r\n\"V_TA_CPTE\",\"1234|5|\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(database.Dir().File("CONSULTASLEN.AUX")));
    EXPECT_TRUE(logic->Lista().rows.empty());

    // Without GrabarCfg the unload writes nothing.
    const std::string before = ReadAll(file);
    Widths("select Codigo from V_TA_CPTE");
    logic->Form_Unload();
    EXPECT_EQ(ReadAll(file), before);
}

TEST_F(WidthsTest, SaveFailureIsShownAndTheOldFileStays) {
    WriteAll(file, "\"A\",\"1|\"\r\n");
    Widths("select Codigo from V_TA_CPTE");
    logic->Datos().GrabarCfg = true;
    // The auxiliary file's name taken by a folder: it cannot be written.
    std::filesystem::create_directory(database.Dir().File("CONSULTASLEN.AUX"));
    database.prompter->Answer(ui::kOK);
    logic->Form_Unload();
    ASSERT_EQ(database.prompter->Boxes().size(), 1U);
    EXPECT_EQ(database.prompter->Boxes()[0].title, "Aviso al Operador");
    EXPECT_EQ(database.prompter->Boxes()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ReadAll(file), "\"A\",\"1|\"\r\n");
}

}  // namespace
