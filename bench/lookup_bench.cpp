// Benchmark of the list lookup window: the demo database with 50,000 more articles, the real
// window on Qt's offscreen platform. Prints the time from ConsultaSearch to the window shown
// with its rows for a 1,000-row and a 50,000-row lookup, an F5 filter search, incremental
// positioning on the 50,000 rows and the peak memory. Figures only; nothing is asserted.
#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "db/db_dll.h"
#include "demo/generator.h"
#include "demo/sqlite_handle.h"
#include "lookup/crear_mascaras.h"
#include "lookup/lib_clscons3.h"
#include "lookup/lib_frmcons3.h"
#include "lookup/mascara_consulta.h"
#include "platform/text/strings.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentRssKb() {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(f, "%ld %ld", &size, &pages) != 2) pages = 0;
        std::fclose(f);
    }
    return pages * 4;
}

void AddArticles(const std::string& path, int count) {
    demo::detail::DatabaseHandle db = demo::detail::OpenDatabase(path, SQLITE_OPEN_READWRITE);
    demo::detail::Exec(db.get(), "BEGIN");
    demo::detail::StatementHandle insert = demo::detail::Prepare(
        db.get(),
        "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, IDFAMILIA, PRECIO1, "
        "PUNTOPEDIDO, Stock, SUSPENDIDO) VALUES (?, ?, 'UN', 'FER', ?, ?, ?, 0)");
    const char* const products[] = {"Tornillo", "Tuerca", "Arandela", "Bulón", "Tarugo",
                                    "Bisagra",  "Cable",  "Látex",    "Caño",  "Codo"};
    for (int i = 0; i < count; ++i) {
        const std::string code = "BK" + std::to_string(100000 + i);
        const std::string description = std::string(products[(i * 7) % 10]) + " serie " +
                                        std::to_string((i * 7919) % 100000) + " ñandú";
        sqlite3_bind_text(insert.get(), 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 2, description.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert.get(), 3, 100.0 + i % 997);
        sqlite3_bind_int(insert.get(), 4, i % 4 == 0 ? 0 : 10);
        sqlite3_bind_int(insert.get(), 5, i % 23);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            demo::detail::ThrowEngineError(db.get(), "insert");
        }
        sqlite3_reset(insert.get());
    }
    demo::detail::Exec(db.get(), "DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'TopConsArt'");
    demo::detail::Exec(db.get(), "COMMIT");
}

// One lookup of the articles, measured; `operate` runs on the shown window.
struct LookupFigures {
    double shownSeconds = 0;
    int rows = 0;
};

LookupFigures Lookup(lookup::Lib_ClsCons3& service, const std::string& sql,
                     const std::function<void(lookup::Lib_FrmCons3&)>& operate) {
    LookupFigures figures;
    lookup::Lib_FrmCons3* window = nullptr;
    service.SetListWindowFactory([&](const lookup::ConfigReader& reader) {
        auto w = std::make_unique<lookup::Lib_FrmCons3>(reader);
        window = w.get();
        return w;
    });
    const Clock::time_point start = Clock::now();
    QTimer::singleShot(0, [&] {
        // The event loop of the modal window runs: it is shown; let it paint once.
        QApplication::processEvents();
        figures.shownSeconds = Since(start);
        figures.rows = static_cast<int>(window->Logic().Lista().rows.size());
        operate(*window);
        window->Logic().CmdCancelar_Click();
    });
    service.ConsultaSearch(sql);
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int extra = argc > 1 ? std::atoi(argv[1]) : 50000;

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("lookup-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "bench.db").string();
    demo::GeneratorOptions options;
    options.scale = 1;
    const Clock::time_point generation = Clock::now();
    demo::GenerateDemoDatabase(path, options);
    AddArticles(path, extra);
    std::printf("database: demo scale 1 plus %d articles, %.1f s\n", extra, Since(generation));

    db::DB_Dll& database = db::Db();
    database.gCnn.Open("PROVIDER=SQLOLEDB;Server=local;Database =" + path + ";UId=admin;Pwd=;");
    database.gEsAdmin = true;
    std::string topConsArt = " ";
    const lookup::ConfigReader reader = [&](const std::string& clave) {
        if (text::EqualsNoCase(clave, "TopConsArt")) return topConsArt;
        adodb::Recordset rs;
        database.AbrirRecordset("select VALOR from TA_CONFIGURACION where CLAVE = '" + clave + "'",
                                rs);
        const std::string value = rs.EOF() ? " " : rs.Fields(0).Value().ToString();
        database.CierraRecordset(rs);
        return value;
    };
    lookup::Lib_ClsCons3 service(reader);
    service.gUsarMascarasConsultas = true;
    service.gRutaMascaraConsultas = (dir / "consultas.ovl").string();
    lookup::AppendMascaras(service.gRutaMascaraConsultas, lookup::DefaultMascaras());
    const std::string statement =
        "select DESCRIPCION, IDARTICULO, PUNTOPEDIDO, Stock, PRECIO1 from V_MA_ARTICULOS order "
        "by DESCRIPCION";

    const long rssBefore = CurrentRssKb();
    const LookupFigures small = Lookup(service, "V_MA_ARTICULOS", [](auto&) {});
    const long rssSmall = CurrentRssKb();
    std::printf("lookup, TopConsArt absent:   %6d rows shown in %.3f s\n", small.rows,
                small.shownSeconds);

    topConsArt = std::to_string(extra + 1000);
    double filterSeconds = 0;
    int filterRows = 0;
    double positionSeconds = 0;
    double missSeconds = 0;
    long rssLarge = 0;
    const LookupFigures large = Lookup(service, "V_MA_ARTICULOS", [&](lookup::Lib_FrmCons3& w) {
        rssLarge = CurrentRssKb();
        lookup::ListLookup& logic = w.Logic();
        // Positioning: a text the last rows begin with, then one no row begins with.
        const std::string last = logic.Lista().rows.back().text;
        Clock::time_point t = Clock::now();
        logic.SetSearchText(0, last);
        QApplication::processEvents();
        positionSeconds = Since(t);
        t = Clock::now();
        logic.SetSearchText(0, "zzzz no existe");
        missSeconds = Since(t);

        logic.SetSearchText(0, "Tuerca serie 1");
        t = Clock::now();
        logic.CmbSearch_KeyDown(0, lookup::vk::kF5, 0);
        QApplication::processEvents();
        filterSeconds = Since(t);
        filterRows = static_cast<int>(logic.Lista().rows.size());
    });
    std::printf("lookup, TopConsArt %-8s: %6d rows shown in %.3f s\n", topConsArt.c_str(),
                large.rows, large.shownSeconds);
    std::printf("positioning on the last row:  %.4f s; on no row (whole list): %.4f s\n",
                positionSeconds, missSeconds);
    std::printf("F5 filter search:             %6d rows in %.3f s\n", filterRows, filterSeconds);

    // The statement with the stock fields: coloured rows.
    const LookupFigures coloured = Lookup(service, statement, [](auto&) {});
    std::printf("coloured statement:           %6d rows shown in %.3f s\n", coloured.rows,
                coloured.shownSeconds);

    std::printf(
        "memory: %ld KB before, %ld KB with 1,000 rows, %ld KB with %d rows shown "
        "(%.0f bytes per row); peak %ld KB\n",
        rssBefore, rssSmall, rssLarge, large.rows,
        large.rows > small.rows
            ? 1024.0 * static_cast<double>(rssLarge - rssSmall) / (large.rows - small.rows)
            : 0.0,
        PeakRssKb());

    database.gCnn.Close();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
