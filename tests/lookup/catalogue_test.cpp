#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lookup/crear_mascaras.h"
#include "lookup/expected_catalogue.h"
#include "lookup/lib_clscons3.h"
#include "lookup/mascara_consulta.h"
#include "platform/text/runtime_error.h"
#include "support/temp_dir.h"

namespace {

using lookup::MascaraConsulta;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CatalogueFile : public ::testing::Test {
  protected:
    void SetUp() override {
        lookup::ResetClsCons3();
        lookup::ClsCons3().gRutaMascaraConsultas = path;
    }
    void TearDown() override { lookup::ResetClsCons3(); }

    testsupport::TempDir dir;
    std::string path = dir.File("consultas.ovl");
};

TEST_F(CatalogueFile, DefaultCatalogueIsTheEightRecordsByteForByte) {
    lookup::CrearMascarasConsultas();
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 9616u);
    EXPECT_EQ(bytes, testsupport::DefaultCatalogueBytes());
}

TEST_F(CatalogueFile, DefaultRecordsAreAppendedAfterExistingOnes) {
    const std::string own = testsupport::CatalogueRecord("MIAS", "MI_TABLA", "|A|B|");
    WriteBytes(path, own);
    lookup::CrearMascarasConsultas();
    EXPECT_EQ(ReadBytes(path), own + testsupport::DefaultCatalogueBytes());

    lookup::CrearMascarasConsultas();  // a second call appends again
    EXPECT_EQ(ReadBytes(path).size(), 17u * lookup::kMascaraRecordSize);
}

// A stray tail shorter than a record is replaced, so every appended record stays readable.
TEST_F(CatalogueFile, AppendingStartsOnARecordBoundary) {
    const std::string own = testsupport::CatalogueRecord("MIAS", "MI_TABLA", "|A|B|");
    WriteBytes(path, own + "garbage");
    lookup::CrearMascarasConsultas();
    EXPECT_EQ(ReadBytes(path), own + testsupport::DefaultCatalogueBytes());

    lookup::MascaraReader reader(path);
    int records = 0;
    std::string lastTable;
    while (auto record = reader.Next()) {
        ++records;
        lastTable = record->Tabla;
    }
    EXPECT_EQ(records, 9);
    EXPECT_EQ(lastTable, testsupport::BlankFilled("V_MA_MANTENIMIENTOS", 100));
}

TEST_F(CatalogueFile, UnwritableLocationRaisesAndLeavesNothingBehind) {
    lookup::ClsCons3().gRutaMascaraConsultas = dir.File("no-such-folder/consultas.ovl");
    try {
        lookup::CrearMascarasConsultas();
        FAIL() << "expected a file error";
    } catch (const text::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 75);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("no-such-folder")));
}

TEST(MascaraRecord, TextIsWindows1252BlankFilledAndCutToWidth) {
    const MascaraConsulta record{"Año", "ÑANDÚ", "|CÓDIGO|" + std::string(600, 'X'), "ACTIVO = 1"};
    const std::string bytes = lookup::EncodeMascara(record);
    ASSERT_EQ(bytes.size(), lookup::kMascaraRecordSize);
    EXPECT_EQ(bytes.substr(0, 4), "A\xF1o ");
    EXPECT_EQ(bytes.substr(100, 6),
              "\xD1"
              "AND\xDA ");
    EXPECT_EQ(bytes.substr(200, 8),
              "|C\xD3"
              "DIGO|");
    EXPECT_EQ(bytes[699], 'X');  // the field list is cut at its width
    EXPECT_EQ(bytes.substr(700, 11), "ACTIVO = 1 ");
    EXPECT_EQ(bytes.substr(1200), "\r\n");

    const MascaraConsulta back = lookup::DecodeMascara(bytes);
    EXPECT_EQ(back.Nombre, testsupport::BlankFilled("Año", 101));  // "ñ" is two bytes in UTF-8
    EXPECT_EQ(back.Tabla.substr(0, 8), "ÑANDÚ ");
    EXPECT_EQ(back.Filtro, testsupport::BlankFilled("ACTIVO = 1", 500));
}

TEST(MascaraRecord, ReaderStopsAtATrailingPartialRecordAndMissingFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("consultas.ovl");
    WriteBytes(path, testsupport::CatalogueRecord("A", "T1", "|X|") + "partial");
    lookup::MascaraReader reader(path);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_TRUE(reader.Next().has_value());
    EXPECT_FALSE(reader.Next().has_value());

    lookup::MascaraReader missing(dir.File("none.ovl"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Next().has_value());
}

}  // namespace
