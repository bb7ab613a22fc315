#include "startup/start_parameters.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "startup/command_line.h"
#include "startup/mod_global.h"

namespace {

using startup::StartParameters;

StartParameters Fields(std::string adicional, std::string menu, std::string server, std::string db,
                       std::string user, std::string password, std::string logeado,
                       std::string caja) {
    return {std::move(adicional), std::move(menu),     std::move(server),  std::move(db),
            std::move(user),      std::move(password), std::move(logeado), std::move(caja)};
}

struct ParseCase {
    const char* name;
    std::string text;
    StartParameters previous;
    StartParameters expected;
};

void ExpectSame(const StartParameters& got, const StartParameters& want, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(got.parametroAdicional, want.parametroAdicional);
    EXPECT_EQ(got.menu, want.menu);
    EXPECT_EQ(got.server, want.server);
    EXPECT_EQ(got.dbName, want.dbName);
    EXPECT_EQ(got.user, want.user);
    EXPECT_EQ(got.password, want.password);
    EXPECT_EQ(got.usuarioLogeado, want.usuarioLogeado);
    EXPECT_EQ(got.caja, want.caja);
}

TEST(StartParameters, ExtractionTable) {
    const StartParameters fresh = Fields("", "", "", "", "", "", "", "");
    const StartParameters old =
        Fields("OLDPA", "OLDM", "OLDS", "OLDD", "OLDU", "OLDP", "OLDL", "OLDC");
    const std::vector<ParseCase> cases = {
        {"equals sign", "@Server=SRV01;", fresh, Fields("", "", "SRV01", "", "", "", "", "1")},
        {"blanks around", "@server= SRV01 ;", fresh, Fields("", "", "SRV01", "", "", "", "", "1")},
        {"no equals, other case", "@SERVER SRV01;", fresh,
         Fields("", "", "SRV01", "", "", "", "", "1")},
        {"all keys, any order",
         "@Caja=3; @Menu=M1;@Server=SRV01;@DbName=EMPRESA;@Usuario=ana;@Password=se cr;"
         "@UsuarioLogeado=ANA;@ParametroAdicional=EXTRA;",
         fresh, Fields("EXTRA", "M1", "SRV01", "EMPRESA", "ana", "se cr", "ANA", "3")},
        {"text matching no key is ignored", "hola; @Server=S; otra cosa;", fresh,
         Fields("", "", "S", "", "", "", "", "1")},
        {"first occurrence wins", "@Server=A;@Server=B;", fresh,
         Fields("", "", "A", "", "", "", "", "1")},
        {"@Usuario matches the start of @UsuarioLogeado", "@UsuarioLogeado=X;@Usuario=ana;", fresh,
         Fields("", "", "", "", "LogeadoX", "", "X", "1")},
        {"empty cash desk", "@Caja=;", fresh, Fields("", "", "", "", "", "", "", "")},
        {"absent keys give their defaults", "", old, Fields("", "", "", "", "", "", "", "1")},
        {"an open last item keeps the previous value", "@Server=S;@DbName=EMPRESA", old,
         Fields("", "", "S", "OLDD", "", "", "", "1")},
        {"open item on a first start-up", "@Server=S;@Caja=2", fresh,
         Fields("", "", "S", "", "", "", "", "")},
        {"open additional parameter takes 19 characters",
         "@Server=S;@ParametroAdicional=ABCDEFGHIJKLMNOPQRSTUVWXYZ", fresh,
         Fields("ABCDEFGHIJKLMNOPQR", "", "S", "", "", "", "", "1")},
        {"19 characters, not bytes", "@ParametroAdicional=ñandúñandúñandúñandú", fresh,
         Fields("ñandúñandúñandúñan", "", "", "", "", "", "", "1")},
        {"fewer at the end of the text", "@ParametroAdicional= XY", fresh,
         Fields("XY", "", "", "", "", "", "", "1")},
        {"the string built from the INI file",
         startup::ParameterStringFromIni("SRV", "EMPRESA", "ana", "pw"), old,
         Fields("", "", "SRV", "EMPRESA", "ana", "pw", "", "1")},
    };
    for (const ParseCase& c : cases) {
        ExpectSame(startup::ParseStartParameters(c.text, c.previous), c.expected, c.name);
    }
}

TEST(StartParameters, OracleServer) {
    struct Case {
        std::string server;
        std::string givenConnection;
        std::string expectedServer;
        std::string expectedConnection;
    };
    const std::vector<Case> cases = {
        {"#ORCL", "", "ORCL",
         "Provider=OraOLEDB.Oracle.1;Data Source=PROD;User Id=ana;Password=pw;"},
        {"#ORCL", "Provider=MSDASQL;DSN=x;", "ORCL", "Provider=MSDASQL;DSN=x;"},
        {"SRV01", "", "SRV01", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        StartParameters p = startup::ParseStartParameters(
            "@Server=" + c.server + ";@DbName=PROD;@Usuario=ana;@Password=pw;", {});
        std::string connection = c.givenConnection;
        startup::ApplyOracleServer(p, connection);
        EXPECT_EQ(p.server, c.expectedServer) << c.server;
        EXPECT_EQ(connection, c.expectedConnection) << c.server;
    }
}

TEST(StartParameters, NormalizarServidor) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SRV01", "SRV01"},
        {"red/SRV01:1433", "SRV01"},
        {"SRV01:1433", "SRV01"},
        {"tcp/SRV01", "SRV01"},
        {"a/b/SRV01", "b/SRV01"},
        {"SRV01\\INST", "SRV01\\INST"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(startup::NormalizarServidor(in), out) << in;
}

TEST(CommandLine, ArgumentsJoinedAndPasswordBlankedInPlace) {
    std::array<std::string, 6> args = {
        "programa", "@Server=S;", "@Password=", "se", "creto;@Caja=1;", "@Menu=M;"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    startup::SetCommandLine(static_cast<int>(argv.size()), argv.data());

    const std::string joined = "@Server=S; @Password= se creto;@Caja=1; @Menu=M;";
    EXPECT_EQ(startup::CommandLineText(), joined);

    startup::BlankPasswordInArguments();
    EXPECT_EQ(args[1], "@Server=S;");
    EXPECT_EQ(args[2], "@Password ");
    EXPECT_EQ(args[3], "  ");
    EXPECT_EQ(args[4], "     ;@Caja=1;");
    EXPECT_EQ(args[5], "@Menu=M;");
    EXPECT_EQ(startup::CommandLineText(), joined);  // the program's own copy is kept

    startup::SetCommandLine(0, nullptr);
    EXPECT_EQ(startup::CommandLineText(), "");
}

TEST(CommandLine, OpenPasswordItemIsBlankedToTheEnd) {
    std::array<std::string, 3> args = {"programa", "@Server=S;", "@PASSWORD=secreto"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    startup::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    startup::BlankPasswordInArguments();
    EXPECT_EQ(args[2], "@PASSWORD        ");
    startup::SetCommandLine(0, nullptr);
}

}  // namespace
