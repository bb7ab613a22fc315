// Batch mode, end to end: the program run as a separate process on generated databases,
// with its exit statuses, its messages on standard error and its result table.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "demo/generator.h"
#include "demo/sqlite_handle.h"
#include "support/temp_dir.h"

namespace {

const std::vector<std::string> kBatchedTables = {
    "MV_APLICACION", "V_MV_CPTEINSUMOS", "V_MV_CPTE_OBSERV", "V_MV_CPTETAREAS", "V_MV_CPTEDOC",
    "V_MV_CPTE",     "C_MV_CPTEINSUMOS", "C_MV_CPTE_OBSERV", "C_MV_CPTETAREAS", "C_MV_CPTE"};

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Program() {
    return std::string(DEPURACIONES_BINARY_DIR) + "/src/app/depuraciones";
}

struct RunOptions {
    std::string input;                      // written to standard input
    bool display = true;                    // false: no display and no platform chosen
    std::function<void(QProcess&)> during;  // called once the program has started
};

// Runs the program with standard input on a pipe (no terminal) and day/month/year dates.
Finished RunProgram(const std::vector<std::string>& args, const RunOptions& o = {}) {
    if (!std::filesystem::exists(Program())) {
        ADD_FAILURE() << "build the program first: " << Program();
        return {};
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DEPURACIONES_REGIONAL", "DMY,/,.,,");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (!o.display) {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
    }
    p.setProcessEnvironment(env);
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    p.start(QString::fromStdString(Program()), list);
    if (!o.input.empty()) p.write(o.input.data(), static_cast<qint64>(o.input.size()));
    p.closeWriteChannel();
    if (o.during) o.during(p);
    EXPECT_TRUE(p.waitForFinished(600000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class BatchModeTest : public ::testing::Test {
  protected:
    BatchModeTest() {
        demo::GeneratorOptions options;
        options.scale = 0.05;
        demo::GenerateDemoDatabase(path, options);
    }
    std::string Parameters() const {
        return "@Server=local;@DbName=" + path + ";@Usuario=admin;@Password=;";
    }
    void Exec(const std::string& sql) const {
        auto db = demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE);
        demo::detail::Exec(db.get(), sql);
    }
    // Runs the purge and checks that the database did not change.
    Finished RunRefused(const std::vector<std::string>& args) {
        const auto before = demo::CountRows(path);
        Finished f = RunProgram(args);
        EXPECT_EQ(demo::CountRows(path), before);
        return f;
    }

    testsupport::TempDir dir;
    std::string path = dir.File("empresa.db");
};

TEST(BatchModeHelpTest, ExplainsTheModesInSpanish) {
    const Finished f = RunProgram({"--help"});
    EXPECT_EQ(f.status, 0);
    EXPECT_NE(f.out.find("--batch (--fiscal-year CÓDIGO | --date FECHA) [--yes] [--trace "
                         "ARCHIVO]\n      (<cadena de parámetros> | -)"),
              std::string::npos)
        << f.out;
    EXPECT_NE(f.out.find("Estado de salida"), std::string::npos);
}

TEST(BatchModeArgumentsTest, BadArgumentsEndWithStatusTwo) {
    const std::string params = "@Server=local;@DbName=x.db;@Usuario=admin;@Password=;";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--batch", "--yes", params}, "Indique --fiscal-year CÓDIGO o --date FECHA"},
        {{"--batch", "--fiscal-year", "2021", "--date", "31/12/2020", params},
         "Indique --fiscal-year CÓDIGO o --date FECHA"},
        {{"--batch", "--fiscal-year", "2021", "--frobnicate", params},
         "Opción desconocida: --frobnicate."},
        {{"--batch", "--date=31/12/2020"}, "Falta la cadena de parámetros"},
        {{"--batch", params, "--fiscal-year"}, "Falta el valor de --fiscal-year."},
        // Whatever is not understood is refused, so a mistyped option never purges.
        {{"--batch", "--fiscal-year", "2021", "--yes", "-n", params}, "Opción desconocida: -n."},
        {{"--batch", "--fiscal-year", "2021", "--yes", "-x", params}, "Opción desconocida: -x."},
        {{"--batch", "--fiscal-year", "2021", "--yes", params, "dry-run"},
         "Argumento desconocido: dry-run."},
        {{"--batch", "--fiscal-year", "2021", "--yes", params, params},
         "La cadena de parámetros se indicó más de una vez."},
        {{"--batch", "--fiscal-year", "2021", "--yes", "-", params},
         "La cadena de parámetros se indicó más de una vez."},
    };
    for (const Case& c : cases) {
        const Finished f = RunProgram(c.args);
        EXPECT_EQ(f.status, 2) << c.message;
        EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
        EXPECT_NE(f.err.find("Uso:"), std::string::npos) << f.err;
        // Refused before connecting.
        EXPECT_EQ(f.err.find("Intentarlo"), std::string::npos) << f.err;
        EXPECT_TRUE(f.out.empty());
    }
}

TEST(BatchModeDisplayTest, WithoutADisplayTheWindowIsNotAttempted) {
    RunOptions noDisplay;
    noDisplay.display = false;
    const Finished f = RunProgram({"-batch"}, noDisplay);
    EXPECT_EQ(f.status, 2);
    EXPECT_NE(f.err.find("No hay pantalla"), std::string::npos) << f.err;
    EXPECT_NE(f.err.find("--batch"), std::string::npos) << f.err;
}

TEST_F(BatchModeTest, WithoutAServerOrADatabaseItEndsWithStatusTwo) {
    Finished f = RunProgram({"--batch", "--date", "31/12/2020", "--yes",
                             "@DbName=" + path + ";@Usuario=admin;@Password=;"});
    EXPECT_EQ(f.status, 2);
    EXPECT_NE(f.err.find("falta el servidor"), std::string::npos) << f.err;
    EXPECT_NE(f.err.find("@Server=<servidor>"), std::string::npos) << f.err;

    // A connection error offers a retry: it is declined, so nothing loops.
    f = RunProgram(
        {"--batch", "--date", "31/12/2020", "--yes",
         "@Server=local;@DbName=" + dir.File("falta/nada.db") + ";@Usuario=admin;@Password=;"});
    EXPECT_EQ(f.status, 2);
    EXPECT_NE(f.err.find("Desea Intentarlo Nuevamente"), std::string::npos) << f.err;
}

TEST_F(BatchModeTest, InputRefusedOrNotConfirmedChangesNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--batch", "--fiscal-year", "2022", "--yes", Parameters()},
         "[Aviso al operador] ERROR\nEl Ejercicio a depurar debe estar cerrado"},
        // The window offers only the fiscal years while there are closed ones.
        {{"--batch", "--date", "31/12/2020", "--yes", Parameters()}, "--fiscal-year CÓDIGO"},
        // No --yes and no terminal: the confirmation is answered No.
        {{"--batch", "--fiscal-year", "2021", Parameters()}, "Depuración Cancelada!!!"},
    };
    for (const Case& c : cases) {
        const Finished f = RunRefused(c.args);
        EXPECT_EQ(f.status, 2) << c.message;
        EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
        EXPECT_TRUE(f.out.empty()) << f.out;
    }
}

TEST_F(BatchModeTest, PurgesAClosedYearAndPrintsTheTable) {
    const auto toRemove = demo::CountRowsOnOrBefore(path, "2021-12-31");
    const auto before = demo::CountRows(path);

    const Finished f = RunProgram({"--batch", "--fiscal-year", "2021", "--yes", Parameters()});

    EXPECT_EQ(f.status, 0) << f.err << f.out;
    const auto lines = Lines(f.out);
    ASSERT_EQ(lines.size(), 13u) << f.out;
    EXPECT_EQ(lines[0].rfind("Paso", 0), 0u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find("completo"), std::string::npos) << lines[i];
    }
    std::istringstream first(lines[1]);
    std::string step, table, outcome;
    long rows = 0;
    first >> step >> table >> outcome >> rows;
    EXPECT_EQ(table, "MV_APLICACION");
    EXPECT_EQ(rows, toRemove.at("MV_APLICACION"));

    const auto after = demo::CountRows(path);
    const auto left = demo::CountRowsOnOrBefore(path, "2021-12-31");
    for (const std::string& t : kBatchedTables) {
        EXPECT_EQ(left.at(t), 0) << t;
        EXPECT_EQ(after.at(t), before.at(t) - toRemove.at(t)) << t;
    }
    EXPECT_NE(f.err.find("El proceso finalizó con éxito!!!"), std::string::npos) << f.err;
    EXPECT_NE(f.err.find("paso 12 de 12, 100%"), std::string::npos) << f.err;
}

TEST_F(BatchModeTest, AStepThatFailsIsUndoneAndTheStatusIsOne) {
    // A database that refuses to delete documents.
    Exec(
        "CREATE TRIGGER documentos_protegidos BEFORE DELETE ON V_MV_CPTEDOC "
        "BEGIN SELECT RAISE(ABORT, 'protegido'); END;");
    const auto before = demo::CountRows(path);

    const Finished f = RunProgram({"--batch", "--fiscal-year", "2021", "--yes", Parameters()});

    EXPECT_EQ(f.status, 1) << f.err;
    const auto lines = Lines(f.out);
    ASSERT_EQ(lines.size(), 13u) << f.out;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // The headers wait for their documents.
        const bool documents = lines[i].find("V_MV_CPTEDOC") != std::string::npos;
        const bool headers = lines[i].find("V_MV_CPTE ") != std::string::npos;
        const char* expected = documents ? "revertido" : headers ? "omitido (paso 7)" : "completo";
        EXPECT_NE(lines[i].find(expected), std::string::npos) << lines[i];
    }
    EXPECT_EQ(demo::CountRows(path).at("V_MV_CPTEDOC"), before.at("V_MV_CPTEDOC"));
    EXPECT_EQ(demo::CountRows(path).at("V_MV_CPTE"), before.at("V_MV_CPTE"));
    EXPECT_NE(f.err.find("No se completaron los pasos: 7 (V_MV_CPTEDOC), 8 (V_MV_CPTE, omitido: "
                         "esperaba el paso 7)."),
              std::string::npos)
        << f.err;
}

TEST_F(BatchModeTest, TraceLogsStatementsAndTransactionsWithoutThePassword) {
    const std::string log = dir.File("traza.log");
    const std::string parameters =
        "@Server=local;@DbName=" + path + ";@Usuario=admin;@Password=Clave7731;";

    const Finished f =
        RunProgram({"--batch", "--fiscal-year", "2021", "--yes", "--trace", log, parameters});

    EXPECT_EQ(f.status, 0) << f.err;
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("Clave7731"), std::string::npos);
    int begins = 0, commits = 0, deletes = 0;
    for (const std::string& line : Lines(text)) {
        begins += line.find("\tBEGIN TRANSACTION") != std::string::npos;
        commits += line.find("\tCOMMIT TRANSACTION") != std::string::npos;
        deletes += line.find("filas afectadas: ") != std::string::npos &&
                   line.find("DELETE") != std::string::npos;
    }
    EXPECT_GE(begins, 12) << text.substr(0, 2000);
    EXPECT_EQ(commits, begins);
    EXPECT_GT(deletes, 0);

    const Finished unwritable = RunRefused({"--batch", "--fiscal-year", "2021", "--yes", "--trace",
                                            dir.File("no/existe.log"), Parameters()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("No se puede abrir el archivo de traza"), std::string::npos)
        << unwritable.err;
    // The window refuses it the same way, before it is shown.
    const Finished window = RunRefused({"--trace", dir.File("no/existe.log"), Parameters()});
    EXPECT_EQ(window.status, 2);
    EXPECT_NE(window.err.find("No se puede abrir el archivo de traza"), std::string::npos)
        << window.err;
}

TEST_F(BatchModeTest, ADamagedFileIsRefusedBeforeAnyStep) {
    // A page near the end of the file, away from the schema the start-up reads.
    const auto pages = static_cast<std::streamoff>(std::filesystem::file_size(path) / 4096);
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp((pages - 2) * 4096);
        const std::string junk(4096, '\xFF');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    const auto contents = [this] {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string bytes = contents();

    const Finished f = RunProgram({"--batch", "--fiscal-year", "2021", "--yes", Parameters()});

    EXPECT_EQ(f.status, 2) << f.err;
    EXPECT_NE(f.err.find("está dañada y no se depurará nada"), std::string::npos) << f.err;
    EXPECT_TRUE(f.out.empty()) << f.out;
    EXPECT_TRUE(contents() == bytes);
}

TEST_F(BatchModeTest, PurgesUpToADateWhenNoYearIsClosed) {
    Exec("UPDATE MV_EJERCICIOS SET CIERRE = 0, CERRADO = 0");

    // A cut-off after today would purge the current business.
    Finished f = RunRefused({"--batch", "--date", "01/01/2999", "--yes", Parameters()});
    EXPECT_EQ(f.status, 2);
    EXPECT_NE(f.err.find("no puede ser posterior a la fecha de hoy"), std::string::npos) << f.err;

    const auto toRemove = demo::CountRowsOnOrBefore(path, "2020-06-30");
    f = RunProgram({"--batch", "--date", "30/06/2020", "--yes", Parameters()});
    EXPECT_EQ(f.status, 0) << f.err << f.out;
    const auto left = demo::CountRowsOnOrBefore(path, "2020-06-30");
    for (const std::string& t : kBatchedTables) {
        EXPECT_GT(toRemove.at(t), 0) << t;
        EXPECT_EQ(left.at(t), 0) << t;
    }
}

TEST_F(BatchModeTest, TheParameterStringCanComeFromStandardInput) {
    RunOptions piped;
    piped.input = Parameters() + "\n";
    const Finished f = RunProgram({"--batch", "--fiscal-year", "2021", "--yes", "-"}, piped);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.err.find("El proceso finalizó con éxito!!!"), std::string::npos) << f.err;

    const Finished empty = RunRefused({"--batch", "--fiscal-year", "2021", "--yes", "-"});
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("entrada estándar"), std::string::npos) << empty.err;
}

TEST_F(BatchModeTest, WaitingForAnotherConnectionShowsOnTheProgressLine) {
    auto other = demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE);
    demo::detail::Exec(other.get(), "BEGIN IMMEDIATE");
    RunOptions held;
    held.during = [&](QProcess& p) {
        // The program waits for the lock (its timeout is minutes) until it is released.
        EXPECT_FALSE(p.waitForFinished(2500));
        demo::detail::Exec(other.get(), "COMMIT");
    };
    const Finished f =
        RunProgram({"--batch", "--fiscal-year", "2021", "--yes", Parameters()}, held);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.err.find("Esperando a que otra conexión libere la base de datos..."),
              std::string::npos)
        << f.err;
}

TEST_F(BatchModeTest, AFileThatIsNotASuiteDatabaseIsRefusedAndLeftAsItWas) {
    const std::string foreign = dir.File("otra.db");
    {
        auto db = demo::detail::OpenDatabase(foreign, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        demo::detail::Exec(db.get(), "CREATE TABLE notas (texto TEXT)");
    }
    const auto size = std::filesystem::file_size(foreign);
    const Finished f =
        RunProgram({"--batch", "--date", "31/12/2020", "--yes",
                    "@Server=local;@DbName=" + foreign + ";@Usuario=admin;@Password=;"});
    EXPECT_EQ(f.status, 2);
    EXPECT_NE(f.err.find("no es una base de datos del sistema"), std::string::npos) << f.err;
    EXPECT_EQ(std::filesystem::file_size(foreign), size);
    EXPECT_TRUE(f.out.empty());
}

}  // namespace

namespace {

// Keys of dependent rows that differ from their header's only in letter case (Ñ/ñ, Á/á
// included) and trailing blanks are the same keys: the purge takes every dependent row of
// a purged header, and only those.
TEST_F(BatchModeTest, KeysDifferingInCaseOrTrailingBlanksAreTheSameKeys) {
    Exec(R"sql(
UPDATE V_MV_CPTEINSUMOS SET TC = lower(TC) || '  ' WHERE ID % 3 = 0;
UPDATE V_MV_CPTEINSUMOS SET IDCOMPROBANTE = IDCOMPROBANTE || ' ' WHERE ID % 3 = 1;
UPDATE C_MV_CPTE_OBSERV SET CUENTA = lower(CUENTA) || ' ' WHERE ID % 2 = 0;
UPDATE MV_APLICACION SET CUENTA = lower(CUENTA), NUMERO = NUMERO || '  ' WHERE ID % 2 = 0;
INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, FECHA, CUENTA) VALUES
  ('ÑC', 'Á0000001', '2020-05-05 00:00:00', 'X'), ('ÑC', 'É0000002', '2024-01-01 00:00:00', 'X');
INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, SECUENCIA) VALUES
  ('ñc', 'á0000001  ', 1), ('ñC', 'Á0000001', 2), ('ñc', 'é0000002', 1);
INSERT INTO MV_ASIENTOS (Cuenta, Secuencia, Mes_operativo, "NUMERO ASIENTO", PERIODO, TIPO_REG,
  FECHA, TC, SUCURSAL, NUMERO, Letra, Importe) VALUES
  ('Ñandú', 1, 1, 999999, 2020, 'N', '2020-03-03 00:00:00', 'FC', '0001', 'Z0000001', 'A', 10),
  ('C9', 1, 1, 999998, 2020, 'N', '2020-03-03 00:00:00', 'FC', '0001', 'Z0000002', 'A', 10);
INSERT INTO MV_APLICACION (CUENTA, TC, SUCURSAL, NUMERO, Letra, Importe) VALUES
  ('ÑANDÚ', 'fc', '0001', 'z0000001', 'a', 10), ('C9  ', 'FC', '0001 ', 'Z0000002', 'A', 10);
)sql");
    // Counted on the file itself, whose text columns compare in the suite's order.
    const auto toRemove = demo::CountRowsOnOrBefore(path, "2021-12-31");
    const auto before = demo::CountRows(path);

    const Finished f = RunProgram({"--batch", "--fiscal-year", "2021", "--yes", Parameters()});

    EXPECT_EQ(f.status, 0) << f.err << f.out;
    const auto after = demo::CountRows(path);
    const auto left = demo::CountRowsOnOrBefore(path, "2021-12-31");
    for (const std::string& t : kBatchedTables) {
        EXPECT_EQ(left.at(t), 0) << t;
        EXPECT_EQ(after.at(t), before.at(t) - toRemove.at(t)) << t;
    }
    auto db = demo::detail::OpenDatabase(path, SQLITE_OPEN_READONLY);
    EXPECT_EQ(demo::detail::QueryInt(db.get(),
                                     "SELECT COUNT(*) FROM V_MV_CPTEINSUMOS WHERE TC = 'ÑC' "
                                     "AND IDCOMPROBANTE IN ('Á0000001', 'É0000002')"),
              1);
    EXPECT_EQ(demo::detail::QueryInt(db.get(),
                                     "SELECT COUNT(*) FROM MV_APLICACION WHERE CUENTA IN "
                                     "('Ñandú', 'C9')"),
              0);
}

}  // namespace
