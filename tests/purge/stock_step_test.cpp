// The stock step on generated data, checked independently of the program: per article, unit,
// deposit, position, serial number and lot, the non-voided quantities summed straight from
// the file up to dates on or after the cut-off are the same before and after the step.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "asientos_stock_fixture.h"
#include "purge/depura_stock.h"

namespace {

using purge::StepOutcome;
using purgetest::PurgeDatabase;
using purgetest::Row;

// Quantities per stock key up to `iso`, the key with letter case folded and Null marked.
std::vector<Row> Balances(const PurgeDatabase& db, const std::string& iso) {
    return db.Query(
        "SELECT lower(ifnull(IDARTICULO,'<null>')), lower(ifnull(IDUNIDAD,'<null>')), "
        "lower(ifnull(IdDeposito,'<null>')), lower(ifnull(IdPosicion,'<null>')), "
        "lower(ifnull(NroSerie,'<null>')), lower(ifnull(NroLote,'<null>')), "
        "printf('%.4f', round(total(CANTIDAD), 4)), printf('%.4f', round(total(CantidadUD), 4)) "
        "FROM V_MV_STOCK WHERE Anulado = 0 AND FECHA <= '" +
        iso +
        "' GROUP BY 1, 2, 3, 4, 5, 6 HAVING round(total(CANTIDAD), 4) <> 0 OR "
        "round(total(CantidadUD), 4) <> 0 ORDER BY 1, 2, 3, 4, 5, 6");
}

std::vector<Row> RowsAfter(const PurgeDatabase& db, const std::string& iso) {
    return db.Query("SELECT * FROM V_MV_STOCK WHERE FECHA > '" + iso + "' ORDER BY ID");
}

std::vector<Row> AllRows(const PurgeDatabase& db) {
    return db.Query("SELECT * FROM V_MV_STOCK ORDER BY ID");
}

// Groups the step reads: non-voided movements up to the cut-off, by the seven columns.
long long Groups(const PurgeDatabase& db, const std::string& iso) {
    return db.Count(
        "SELECT COUNT(*) FROM (SELECT 1 FROM V_MV_STOCK WHERE Anulado = 0 AND FECHA <= '" + iso +
        "' GROUP BY IDARTICULO, IDUNIDAD, IdDeposito, IdPosicion, NroSerie, NroLote, "
        "DESCRIPCION)");
}

int CountStarting(const std::vector<std::string>& calls, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

struct Purge {
    std::string fecha;   // cut-off as the operator gives it
    std::string iso;     // the same day as stored
    std::string numero;  // the opening-balance voucher it must write
};

TEST(StockStep, ReplacesMovementsByBalancesThatKeepEveryTotal) {
    PurgeDatabase db(0.2);
    const std::vector<std::string> laterDates = {"2021-06-30 00:00:00", "2023-01-01 00:00:00",
                                                 "2099-12-31 00:00:00"};
    // Two purges in a row: the second one sums the balances the first one wrote.
    for (const Purge& p : {Purge{"31/12/2019", "2019-12-31 00:00:00", "000100000042X"},
                           Purge{"31/12/2020", "2020-12-31 00:00:00", "000100000043X"}}) {
        SCOPED_TRACE(p.fecha);
        std::vector<std::vector<Row>> before;
        for (const std::string& d : laterDates) before.push_back(Balances(db, d));
        before.push_back(Balances(db, p.iso));
        const auto after = RowsAfter(db, p.iso);
        const long long groups = Groups(db, p.iso);
        const long long upToCutoff =
            db.Count("SELECT COUNT(*) FROM V_MV_STOCK WHERE FECHA <= '" + p.iso + "'");
        ASSERT_GT(groups, 10);
        db.port.progress.clear();
        db.statements.clear();

        const purge::StepReport report = purge::DepuraStock(p.fecha, db.port, db.Db());

        EXPECT_EQ(report.step, 3);
        EXPECT_EQ(report.outcome, StepOutcome::Committed);
        EXPECT_EQ(report.rows, groups + upToCutoff);
        for (std::size_t i = 0; i < laterDates.size(); ++i)
            EXPECT_EQ(Balances(db, laterDates[i]), before[i]) << laterDates[i];
        EXPECT_EQ(Balances(db, p.iso), before.back());
        EXPECT_EQ(RowsAfter(db, p.iso), after);

        // Up to the cut-off only the new voucher is left: one row per group, numbered
        // 1..groups, dated at the cut-off.
        const auto left = db.Query(
            "SELECT TC, IDCOMPROBANTE, FECHA, ControladoPor, Anulado, COUNT(*), MIN(SECUENCIA), "
            "MAX(SECUENCIA), COUNT(DISTINCT SECUENCIA) FROM V_MV_STOCK WHERE FECHA <= '" +
            p.iso + "' GROUP BY 1, 2, 3, 4, 5");
        const std::string n = std::to_string(groups);
        EXPECT_EQ(left,
                  (std::vector<Row>{{"SI", p.numero, p.iso, "Depuracion", "0", n, "1", n, n}}));
        EXPECT_EQ(db.statements.back(), "COMMIT TRANSACTION");
    }
    // Groups with a Null article, description or unit keep it Null; quoted descriptions are
    // written as they were.
    for (const char* column : {"IDARTICULO", "DESCRIPCION", "IDUNIDAD"}) {
        EXPECT_GT(db.Count(std::string("SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = 'SI' AND ") +
                           column + " IS NULL AND IDCOMPROBANTE = '000100000043X'"),
                  0)
            << column;
    }
    EXPECT_GT(db.Count("SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000100000043X' "
                       "AND DESCRIPCION LIKE '%''''%'"),
              0);
    EXPECT_TRUE(db.prompter->Boxes().empty());
}

TEST(StockStep, ShowsItsProgressOnTheBarAndTheDisplay) {
    PurgeDatabase db(0.05);
    const long long groups = Groups(db, "2019-12-31 00:00:00");
    ASSERT_GT(groups, 1);

    purge::DepuraStock("31/12/2019", db.port, db.Db());

    const std::vector<double>& bar = db.port.progress;
    ASSERT_EQ(bar.size(), static_cast<std::size_t>(groups + 2));
    EXPECT_EQ(bar.front(), 215);
    EXPECT_TRUE(std::all_of(bar.begin() + 1, bar.end() - 1, [](double v) { return v == 250; }));
    EXPECT_EQ(bar.back(), 300);

    const auto calls = purgetest::DisplayCalls(*db.display);
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(groups + 4));
    EXPECT_EQ(calls[0], "Show|Depurando Movimientos de Stock...");
    EXPECT_EQ(calls[1], "Update|Obteniendo Saldo Inicial a la Fecha de Depuración|-|-");
    for (long long i = 1; i <= groups; ++i) {
        const std::string& c = calls[static_cast<std::size_t>(i + 1)];
        EXPECT_EQ(c.rfind("Update|Generando Saldo Inicial|", 0), 0u) << c;
        EXPECT_EQ(c.substr(c.rfind('|') + 1), std::to_string(i));
    }
    EXPECT_EQ(calls[calls.size() - 2],
              "Update|Eliminando Movimientos de Stock|Este proceso puede demorar unos minutos, "
              "por favor sea pasciente...|");
    EXPECT_EQ(calls.back(), "Close");

    // The second line names the article (trimmed) and its description.
    const auto first = db.Query(
        "SELECT IDARTICULO, DESCRIPCION FROM V_MV_STOCK WHERE SECUENCIA = 1 AND "
        "IDCOMPROBANTE = '000100000042X'");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(calls[2], "Update|Generando Saldo Inicial|" + first[0][0].value_or("") + " " +
                            first[0][1].value_or("") + "|1");
}

TEST(StockStep, FirstVoucherNumberWithoutEarlierBalance) {
    PurgeDatabase db(0.05, /*openingBalance=*/false);
    EXPECT_EQ(purge::DepuraStock("31/12/2019", db.port, db.Db()).outcome, StepOutcome::Committed);
    EXPECT_EQ(db.Query("SELECT DISTINCT IDCOMPROBANTE FROM V_MV_STOCK WHERE TC = 'SI'"),
              (std::vector<Row>{{"000100000001X"}}));
}

TEST(StockStep, FailingInsertRollsEverythingBack) {
    PurgeDatabase db(0.05);
    db.Exec(
        "CREATE TRIGGER refuse_third BEFORE INSERT ON V_MV_STOCK "
        "WHEN NEW.TC = 'SI' AND NEW.SECUENCIA = 3 BEGIN SELECT RAISE(ABORT, 'rechazado'); END");
    const auto before = AllRows(db);
    const long long groups = Groups(db, "2019-12-31 00:00:00");

    const purge::StepReport report = purge::DepuraStock("31/12/2019", db.port, db.Db());

    EXPECT_EQ(report.outcome, StepOutcome::RolledBack);
    EXPECT_EQ(report.rows, 0);
    EXPECT_EQ(AllRows(db), before);
    // Every group was still tried; the movements were not touched.
    const auto calls = purgetest::DisplayCalls(*db.display);
    EXPECT_EQ(CountStarting(calls, "Update|Generando Saldo Inicial|"), groups);
    EXPECT_EQ(CountStarting(calls, "Update|Eliminando"), 0);
    EXPECT_EQ(db.statements.back(), "ROLLBACK TRANSACTION");
    EXPECT_TRUE(db.prompter->Boxes().empty());
    EXPECT_EQ(db.port.progress.back(), 300);
    EXPECT_TRUE(purgetest::FileIsFree(db.Path()));
}

TEST(StockStep, NothingToBalanceWritesNothing) {
    struct Case {
        const char* name;
        bool openingBalance;
        const char* setup;
        const char* fecha;
    };
    for (const Case& c : {Case{"no movement up to the cut-off", false, "", "31/12/2018"},
                          Case{"all voided", true,
                               "UPDATE V_MV_STOCK SET Anulado = 1 "
                               "WHERE FECHA <= '2019-12-31 00:00:00'",
                               "31/12/2019"}}) {
        SCOPED_TRACE(c.name);
        PurgeDatabase db(0.05, c.openingBalance);
        if (*c.setup) db.Exec(c.setup);
        const auto before = AllRows(db);

        const purge::StepReport report = purge::DepuraStock(c.fecha, db.port, db.Db());

        EXPECT_EQ(report.outcome, StepOutcome::Committed);
        EXPECT_EQ(AllRows(db), before);
        // The balances are read inside the step's transaction, which ends with nothing done.
        EXPECT_EQ(std::count(db.statements.begin(), db.statements.end(), "BEGIN TRANSACTION"), 1);
        EXPECT_EQ(db.statements.back(), "COMMIT TRANSACTION");
        EXPECT_EQ(purgetest::DisplayCalls(*db.display),
                  (std::vector<std::string>{
                      "Show|Depurando Movimientos de Stock...",
                      "Update|Obteniendo Saldo Inicial a la Fecha de Depuración|-|-", "Close"}));
        EXPECT_EQ(db.port.progress, std::vector<double>{300});
    }
}

TEST(StockStep, RefusesToStartWithoutAVoucherNumber) {
    struct Case {
        const char* name;
        const char* setup;
        std::string prompt;
        ui::Icon icon;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"voucher type SI missing", "DELETE FROM V_TA_CPTE WHERE Codigo = 'SI'",
         "DEBE DAR DE ALTA EN TABLA DE COMPROBANTES EL CODIGO SI PARA SALDO INICIAL...",
         ui::Icon::None, ""},
        {"sequence exhausted",
         "INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, CANTIDAD) "
         "VALUES ('SI', '000199999999X', 1, '2024-01-01 00:00:00', 'A', 1)",
         "La numeración de los comprobantes SI de saldo inicial llegó a su máximo "
         "(000199999999X). No se generaron saldos iniciales ni se eliminaron movimientos de "
         "stock.",
         ui::Icon::Exclamation, "Aviso al operador"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PurgeDatabase db(0.05);
        db.Exec(c.setup);
        const auto before = AllRows(db);
        db.prompter->Answer(ui::kOK);

        const purge::StepReport report = purge::DepuraStock("31/12/2019", db.port, db.Db());

        EXPECT_EQ(report.outcome, StepOutcome::Abandoned);
        EXPECT_EQ(AllRows(db), before);
        ASSERT_EQ(db.prompter->Boxes().size(), 1u);
        const ui::RecordedBox& box = db.prompter->Boxes()[0];
        EXPECT_EQ(box.prompt, c.prompt);
        EXPECT_EQ(box.buttons, ui::Buttons::OK);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.title, c.title);
        EXPECT_TRUE(db.display->Calls().empty());
    }
}

TEST(StockStep, ErrorBeforeTheInsertsEndsTheStepWhenAbandoned) {
    PurgeDatabase db(0.05);
    const auto before = AllRows(db);
    db.prompter->Answer(ui::kAbort);

    const purge::StepReport report = purge::DepuraStock("no es una fecha", db.port, db.Db());

    EXPECT_EQ(report.outcome, StepOutcome::Abandoned);
    EXPECT_EQ(AllRows(db), before);
    ASSERT_EQ(db.prompter->Boxes().size(), 1u);
    EXPECT_EQ(db.prompter->Boxes()[0].buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_EQ(purgetest::DisplayCalls(*db.display).back(), "Close");
    EXPECT_TRUE(purgetest::FileIsFree(db.Path()));
}

}  // namespace

namespace {

// Total quantity of the non-voided movements up to the day, straight from the file.
std::string TotalUpTo(const PurgeDatabase& db, const std::string& iso) {
    return db
        .Query(
            "SELECT printf('%.4f', total(CANTIDAD)) FROM V_MV_STOCK WHERE Anulado = 0 "
            "AND FECHA <= '" +
            iso + "'")[0][0]
        .value_or("");
}

// A port that lets a test act at a chosen position of the bar.
struct HookPort : purgetest::RecordingPort {
    void SetProgress(double value) override {
        RecordingPort::SetProgress(value);
        if (onProgress) onProgress(value);
    }
    std::function<void(double)> onProgress;
};

// Another program's write of 9 units dated before the cut-off, on a connection of its own
// that does not wait for locks. SQLITE_OK or SQLITE_BUSY.
int WriteElsewhere(const std::string& path) {
    auto other = demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE);
    const int rc = sqlite3_exec(
        other.get(),
        "INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE, SECUENCIA, FECHA, IDARTICULO, DESCRIPCION, "
        "IDUNIDAD, CANTIDAD, CantidadUD, IdDeposito, Anulado) SELECT 'AJ', 'OTRO', 1, "
        "'2019-06-01 00:00:00', IDARTICULO, DESCRIPCION, IDUNIDAD, 9, 0, IdDeposito, 0 FROM "
        "V_MV_STOCK WHERE Anulado = 0 LIMIT 1",
        nullptr, nullptr, nullptr);
    return rc;
}

}  // namespace

TEST(StockStep, MovementsWrittenMeanwhileAreNeverLost) {
    PurgeDatabase db(0.05);
    const std::string before = TotalUpTo(db, "2019-12-31 00:00:00");
    HookPort port;
    int rc = -1;
    // Once the balances are read, before the first opening balance is written.
    port.onProgress = [&](double value) {
        if (value == 215) rc = WriteElsewhere(db.Path());
    };

    const purge::StepReport report = purge::DepuraStock("31/12/2019", port, db.Db());

    EXPECT_EQ(report.outcome, StepOutcome::Committed);
    // The step holds the movements from before its balance query until it commits: the
    // other write waits (here: is refused at once) instead of being deleted unaccounted.
    EXPECT_EQ(rc, SQLITE_BUSY);
    // Whatever the other program managed to commit is in the totals.
    const double expected = std::stod(before) + (rc == SQLITE_OK ? 9.0 : 0.0);
    EXPECT_DOUBLE_EQ(std::stod(TotalUpTo(db, "2019-12-31 00:00:00")), expected);
    EXPECT_EQ(WriteElsewhere(db.Path()), SQLITE_OK);
}

TEST(StockStep, BalancesAreReadInsideTheTransactionWithTheRowsHeld) {
    PurgeDatabase db(0.05);
    purge::DepuraStock("31/12/2019", db.port, db.Db());
    const auto begin = std::find(db.statements.begin(), db.statements.end(), "BEGIN TRANSACTION");
    const auto balances =
        std::find_if(db.statements.begin(), db.statements.end(), [](const std::string& s) {
            return s.find("SUM(Cantidad) AS SALDOCANTIDAD") != std::string::npos;
        });
    ASSERT_NE(balances, db.statements.end());
    EXPECT_LT(begin, balances);
    EXPECT_NE(balances->find("From V_MV_Stock  WITH (UPDLOCK, HOLDLOCK) WHERE"), std::string::npos)
        << *balances;
}

TEST(StockStep, NothingLeftToPurgeWritesNothing) {
    PurgeDatabase db(0.05);
    ASSERT_EQ(purge::DepuraStock("31/12/2019", db.port, db.Db()).outcome, StepOutcome::Committed);
    const auto after = AllRows(db);

    const purge::StepReport again = purge::DepuraStock("31/12/2019", db.port, db.Db());

    EXPECT_EQ(again.outcome, StepOutcome::Committed);
    EXPECT_EQ(again.rows, 0);
    EXPECT_EQ(AllRows(db), after);  // no new voucher number, nothing rewritten
}
