#include "clientlib/settings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <cstdlib>
#include <fstream>

#include "support/temp_dir.h"

namespace {

using clientlib::ApplicationContext;
using clientlib::IniSettings;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Points the program folder at a temporary folder for one test.
class ProgramFolderScope {
  public:
    explicit ProgramFolderScope(const std::string& folder)
        : saved_(ApplicationContext::ApplicationFolder()) {
        ApplicationContext().SetApplicationFolder(folder);
    }
    ~ProgramFolderScope() { ApplicationContext().SetApplicationFolder(saved_); }

  private:
    std::string saved_;
};

const char* kIni =
    "; configuración de puestos\r\n"
    "[General]\r\n"
    "Servidor=SRV1\r\n"
    "\r\n"
    "[PC01|ANABaseDeDatos]\r\n"
    "  Servidor = SRV-CONTA  \r\n"
    "BaseDeDatos=Empresa\r\n"
    "Usuario=\r\n"
    "Cadena=Provider=SQLOLEDB;Data Source=x\r\n"
    "Clave=\"con espacios \"\r\n"
    "línea sin igual\r\n"
    "=sin clave\r\n"
    "Descripci\xF3n=Almac\xE9n\r\n"  // Windows-1252 bytes
    "[Roto\r\n"
    "Servidor=NO\r\n"
    "[pc02]\r\n"
    "Servidor=SRV2";  // last line without line end

TEST(IniSettings, ReadsSectionsAndKeysLikeTheWindowsSuite) {
    testsupport::TempDir dir;
    WriteFile(dir.File("CN000pr.INI"), kIni);
    const std::string file = dir.File("CN000pr.INI");
    const IniSettings ini;
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"PC01|ANABaseDeDatos", "Servidor", "SRV-CONTA"},
        {"pc01|anabasededatos", "SERVIDOR", "SRV-CONTA"},
        {"PC01|ANABaseDeDatos", "BaseDeDatos", "Empresa"},
        {"PC01|ANABaseDeDatos", "Usuario", ""},
        {"PC01|ANABaseDeDatos", "Cadena", "Provider=SQLOLEDB;Data Source=x"},
        {"PC01|ANABaseDeDatos", "Clave", "con espacios "},
        {"PC01|ANABaseDeDatos", "DESCRIPCIÓN", "Almacén"},
        {"PC01|ANABaseDeDatos", "Falta", "(def)"},
        {"General", "Servidor", "SRV1"},
        {"PC02", "Servidor", "SRV2"},
        {"Roto", "Servidor", "(def)"},
        {"NoExiste", "Servidor", "(def)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadValue(file, c.section, c.key, "(def)"), c.expected)
            << c.section << "/" << c.key;
}

TEST(IniSettings, LooksForABareNameInTheProgramFolderThenTheUserConfigFolder) {
    testsupport::TempDir program, config;
    ProgramFolderScope scope(program.Path().string());
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = savedXdg ? savedXdg : "";
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const IniSettings ini;

    EXPECT_EQ(ini.ReadValue("CN000pr.INI", "A", "k", "def"), "def");  // nowhere

    std::filesystem::create_directory(config.Path() / "depuraciones");
    WriteFile((config.Path() / "depuraciones" / "CN000pr.INI").string(), "[A]\nk=usuario\n");
    EXPECT_EQ(ini.ReadValue("CN000pr.INI", "A", "k", "def"), "usuario");

    // The program folder comes first, whatever the letter case of the file name.
    WriteFile(program.File("cn000pr.ini"), "[a]\nK=programa\n");
    EXPECT_EQ(ini.ReadValue("CN000pr.INI", "A", "k", "def"), "programa");

    if (savedXdg)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST(IniSettings, UnreadableOrOddFilesGiveTheDefault) {
    testsupport::TempDir dir;
    const IniSettings ini;
    EXPECT_EQ(ini.ReadValue(dir.File("missing.ini"), "A", "k", "def"), "def");
    EXPECT_EQ(ini.ReadValue("", "A", "k", "def"), "def");
    WriteFile(dir.File("bin.ini"), std::string("\0\xFF[A\0]\n=\n[\n]]\nk", 16));
    EXPECT_EQ(ini.ReadValue(dir.File("bin.ini"), "A", "k", "def"), "def");
    std::filesystem::create_directory(dir.Path() / "dir.ini");
    EXPECT_EQ(ini.ReadValue(dir.File("dir.ini"), "A", "k", "def"), "def");
    WriteFile(dir.File("bom.ini"), "\xEF\xBB\xBF[A]\nk=v\n");
    EXPECT_EQ(ini.ReadValue(dir.File("bom.ini"), "A", "k", "def"), "v");
}

TEST(StationAndFolders, IdentitiesAndProgramFolder) {
    const clientlib::StationInfo station;
    EXPECT_FALSE(station.FirstIdentity().empty());
    EXPECT_FALSE(station.SecondIdentity().empty());
    EXPECT_EQ(station.FirstIdentity(), station.FirstIdentity());

    const std::string folder = clientlib::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    ProgramFolderScope scope("/opt/otra");
    EXPECT_EQ(ApplicationContext::ApplicationFolder(), "/opt/otra/");
}

TEST(DateBoxHelper, CompletionKeysAndKeyFilter) {
    const clientlib::DateBoxHelper h;
    EXPECT_TRUE(h.IsCompletionKey(13));
    EXPECT_TRUE(h.IsCompletionKey(9));
    EXPECT_FALSE(h.IsCompletionKey(27));
    EXPECT_FALSE(h.IsCompletionKey('1'));

    QLineEdit box;
    struct Case {
        int typed;
        int expected;
    } cases[] = {
        {'0', '0'}, {'9', '9'}, {'/', '/'}, {'-', '/'}, {'.', '/'}, {8, 8},    {13, 13},
        {27, 27},   {'a', 0},   {' ', 0},   {',', 0},   {'+', 0},   {0xF1, 0},
    };
    for (const auto& c : cases) {
        int key = c.typed;
        h.FilterKey(&box, key);
        EXPECT_EQ(key, c.expected) << c.typed;
    }
}

}  // namespace
