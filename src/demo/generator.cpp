#include "demo/generator.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "demo/random.h"
#include "demo/schema.h"
#include "demo/sqlite_handle.h"

namespace demo {
namespace {

using detail::SplitMix64;

constexpr int kFirstYear = 2019;
constexpr int kLastYear = 2025;
constexpr int kYears = kLastYear - kFirstYear + 1;

// Row counts at scale 1.
constexpr double kEntryLines = 5000;
constexpr double kApplications = 10000;
constexpr double kStockMovements = 5000;
constexpr double kSalesHeaders = 800;
constexpr double kSalesMaterials = 1600;
constexpr double kSalesObservations = 400;
constexpr double kSalesTasks = 400;
constexpr double kSalesDocuments = 240;
constexpr double kPurchaseHeaders = 450;
constexpr double kPurchaseMaterials = 675;
constexpr double kPurchaseObservations = 225;
constexpr double kPurchaseTasks = 225;

// Purposes of the random streams.
enum Purpose : std::uint64_t {
    kArticlesStream = 1,
    kEntriesStream,
    kSalesStream,
    kPurchasesStream,
    kStockStream,
};

// ---- dates ---------------------------------------------------------------------------------

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int year;
    int month;
    int day;
};

Civil CivilFromDays(int z) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

void AppendDigits(std::string& out, long long value, int width) {
    std::array<char, 24> buffer{};
    int length = 0;
    do {
        buffer[static_cast<std::size_t>(length++)] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = length; i < width; ++i) out += '0';
    while (length > 0) out += buffer[static_cast<std::size_t>(--length)];
}

std::string Padded(long long value, int width) {
    std::string out;
    AppendDigits(out, value, width);
    return out;
}

// "YYYY-MM-DD HH:MM:SS", the stored form of a date.
std::string IsoDate(int days, int hour = 0, int minute = 0) {
    const Civil c = CivilFromDays(days);
    std::string out;
    out.reserve(19);
    AppendDigits(out, c.year, 4);
    out += '-';
    AppendDigits(out, c.month, 2);
    out += '-';
    AppendDigits(out, c.day, 2);
    out += ' ';
    AppendDigits(out, hour, 2);
    out += ':';
    AppendDigits(out, minute, 2);
    out += ":00";
    return out;
}

// Dates for `count` items spread evenly, in order, from 01/01/2019 (item 0) to 31/12/2025
// (the last item). Items are asked for in increasing order, possibly skipping some (the
// later lines of a voucher share its date); an item whose step passes over a 31 December
// lands on it, so every year's last day has rows as soon as there are enough items.
class DateSpread {
  public:
    explicit DateSpread(long long count) : count_(std::max<long long>(count, 1)) {
        for (int y = kFirstYear; y <= kLastYear; ++y) {
            year_ends_[static_cast<std::size_t>(y - kFirstYear)] =
                DaysFromCivil(y, 12, 31) - first_;
        }
    }

    int Day(long long k) {
        const long long day = count_ == 1 ? 0 : k * (days_ - 1) / (count_ - 1);
        const long long previous = previous_;
        previous_ = day;
        for (int end : year_ends_) {
            if (previous < end && end <= day) return first_ + end;
        }
        return first_ + static_cast<int>(day);
    }

  private:
    int first_ = DaysFromCivil(kFirstYear, 1, 1);
    long long days_ = DaysFromCivil(kLastYear, 12, 31) - DaysFromCivil(kFirstYear, 1, 1) + 1;
    long long count_;
    long long previous_ = -1;
    std::array<int, kYears> year_ends_{};
};

// Rows of `total` given to item i of n, spread as evenly as integers allow.
long long Share(long long i, long long n, long long total) {
    return (i + 1) * total / n - i * total / n;
}

// ---- inserting -----------------------------------------------------------------------------

// One prepared INSERT, bound column by column and reused for every row.
class Inserter {
  public:
    Inserter(sqlite3* db, std::map<std::string, long long>& counts, const std::string& table,
             std::initializer_list<std::string_view> columns)
        : db_(db), counter_(&counts[table]) {
        std::string sql = "INSERT INTO " + table + " (";
        std::string values;
        for (std::string_view column : columns) {
            if (!values.empty()) {
                sql += ", ";
                values += ", ";
            }
            sql += '"';
            sql += column;
            sql += '"';
            values += '?';
        }
        sql += ") VALUES (" + values + ")";
        stmt_ = detail::Prepare(db, sql);
    }

    Inserter& Int(long long value) {
        sqlite3_bind_int64(stmt_.get(), next_++, value);
        return *this;
    }
    Inserter& Real(double value) {
        sqlite3_bind_double(stmt_.get(), next_++, value);
        return *this;
    }
    Inserter& Money(long long cents) { return Real(static_cast<double>(cents) / 100.0); }
    Inserter& Text(std::string_view value) {
        const char* data = value.data() != nullptr ? value.data() : "";
        sqlite3_bind_text(stmt_.get(), next_++, data, static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Inserter& TextOrNull(bool is_null, std::string_view value) {
        return is_null ? Null() : Text(value);
    }
    Inserter& Null() {
        sqlite3_bind_null(stmt_.get(), next_++);
        return *this;
    }

    void Row() {
        if (sqlite3_step(stmt_.get()) != SQLITE_DONE) {
            detail::ThrowEngineError(db_, "No se pudo grabar una fila");
        }
        sqlite3_reset(stmt_.get());
        next_ = 1;
        ++*counter_;
    }

  private:
    sqlite3* db_;
    long long* counter_;
    detail::StatementHandle stmt_;
    int next_ = 1;
};

// ---- reference data ------------------------------------------------------------------------

struct Account {
    std::string code;
    std::string name;
};

enum class Control { kNone, kLot, kSerial };

struct Article {
    std::string code;
    std::string description;
    std::string unit;
    int pack = 1;
    bool fractional = false;  // sold by weight, length or volume: quarter quantities
    Control control = Control::kNone;
    int home_position = 0;
    bool suspended = false;
};

struct Family {
    const char* code;
    const char* name;
    std::array<const char*, 6> products;
    std::array<const char*, 4> sizes;
    const char* unit;
    bool fractional;
};

const std::array<Family, 5> kFamilies = {{
    {"FER",
     "Ferretería",
     {"Tornillo autoperforante", "Tuerca hexagonal", "Arandela plana", "Bulón cabeza tanque",
      "Tarugo de nylon", "Bisagra de hierro"},
     {"6 mm", "8 mm", "10 mm", "12 mm"},
     "UN",
     false},
    {"ELE",
     "Electricidad",
     {"Cable unipolar", "Interruptor termomagnético", "Tomacorriente doble", "Lámpara LED",
      "Caja de embutir", "Cinta aisladora"},
     {"2,5 mm²", "4 mm²", "10 A", "20 A"},
     "MT",
     true},
    {"PIN",
     "Pinturería",
     {"Látex interior", "Esmalte sintético", "Lija al agua", "Rodillo de lana", "Pincel cerda",
      "Diluyente"},
     {"1 l", "4 l", "10 l", "20 l"},
     "LT",
     true},
    {"SAN",
     "Sanitarios",
     {"Caño de PVC", "Codo a 90°", "Llave esférica", "Grifería monocomando", "Sifón flexible",
      "Tanque de agua"},
     {"40 mm", "63 mm", "110 mm", "1000 l"},
     "UN",
     false},
    {"CON",
     "Construcción",
     {"Cemento portland", "Cal hidratada", "Arena fina", "Ladrillo hueco", "Hierro aletado",
      "Malla sima"},
     {"x 25 kg", "x 50 kg", "8 mm", "12 mm"},
     "KG",
     true},
}};

const std::array<const char*, 8> kCompanyFirst = {"Ferretería",   "Corralón",     "Distribuidora",
                                                  "Comercial",    "Talleres",     "Agropecuaria",
                                                  "Constructora", "Instalaciones"};
const std::array<const char*, 9> kCompanySecond = {"del Sur",     "San Martín",   "Los Álamos",
                                                   "Norte",       "La Esperanza", "Don Ñato",
                                                   "El Progreso", "Patagonia",    "Río Cuarto"};
const std::array<const char*, 3> kCompanySuffix = {" S.A.", " S.R.L.", ""};
const std::array<const char*, 6> kContacts = {"Marta Giménez", "Jorge Peña",  "Ana Ibáñez",
                                              "Luis Acuña",    "Sofía Muñoz", "Raúl Ortíz"};

std::string CompanyName(int i) {
    return std::string(kCompanyFirst[static_cast<std::size_t>(i) % kCompanyFirst.size()]) + " " +
           kCompanySecond[static_cast<std::size_t>(i / 8) % kCompanySecond.size()] +
           kCompanySuffix[static_cast<std::size_t>(i) % kCompanySuffix.size()];
}

const char* const kCash = "1.1.01.001";
const char* const kBank = "1.1.02.001";
const char* const kVatCredit = "1.1.04.001";
const char* const kVatDebit = "2.1.03.001";
const char* const kSales = "4.1.01.001";
const char* const kPurchases = "5.1.01.001";

constexpr int kCustomers = 60;
// Suppliers P0001 to P0025 have vouchers; P0026 has none, so dependent rows filed under it
// have no header.
constexpr int kSuppliers = 25;
const char* const kSupplierWithoutVouchers = "P0026";

class Generator {
  public:
    Generator(sqlite3* db, const GeneratorOptions& options)
        : db_(db), scale_(options.scale), seed_(options.seed), opening_(options.opening_balance) {}

    std::map<std::string, long long> Run() {
        ReferenceData();
        Accounts();
        Articles();
        Entries();
        SalesVouchers();
        PurchaseVouchers();
        Stock();
        Shortages();
        LookupData();
        return counts_;
    }

  private:
    long long Scaled(double base) const {
        return std::max<long long>(1, std::llround(base * scale_));
    }
    Inserter Insert(const std::string& table, std::initializer_list<std::string_view> columns) {
        return Inserter(db_, counts_, table, columns);
    }

    void ReferenceData();
    void Accounts();
    void Articles();
    void Entries();
    void SalesVouchers();
    void PurchaseVouchers();
    void Stock();
    void Shortages();
    void LookupData();

    sqlite3* db_;
    double scale_;
    std::uint32_t seed_;
    bool opening_;
    std::map<std::string, long long> counts_;
    std::vector<Account> customers_;
    std::vector<Account> suppliers_;
    std::vector<Article> articles_;
};

void Generator::ReferenceData() {
    auto years = Insert("MV_EJERCICIOS", {"PERIODO", "Descripcion", "CIERRE", "CERRADO",
                                          "FECHA DESDE", "FECHA HASTA"});
    for (int y = kFirstYear; y <= kLastYear; ++y) {
        // 2019-2021 closed, 2022 marked for closing but not closed, the rest open.
        const int cierre = y <= 2022 ? 1 : 0;
        const int cerrado = y <= 2021 ? 1 : 0;
        years.Int(y)
            .Text("Ejercicio " + std::to_string(y))
            .Int(cierre)
            .Int(cerrado)
            .Text(IsoDate(DaysFromCivil(y, 1, 1)))
            .Text(IsoDate(DaysFromCivil(y, 12, 31)))
            .Row();
    }

    struct VoucherType {
        const char* code;
        const char* name;
        const char* circuit;
        int stock;
    };
    const VoucherType types[] = {
        {"SI", "Saldo Inicial", "S", 1},
        {"FC", "Factura", "V", 1},
        {"FA", "Factura de Compra", "C", 1},
        {"NC", "Nota de Crédito", "V", 1},
        {"ND", "Nota de Débito", "V", 0},
        {"RM", "Remito", "S", 1},
        {"RC", "Recibo", "V", 0},
        {"OP", "Orden de Pago", "C", 0},
        {"AJ", "Ajuste de Stock", "S", 1},
    };
    auto cpte = Insert("V_TA_CPTE", {"Codigo", "Descripcion", "Circuito", "MueveStock"});
    for (const VoucherType& t : types)
        cpte.Text(t.code).Text(t.name).Text(t.circuit).Int(t.stock).Row();

    struct Setting {
        const char* key;
        const char* value;
        const char* group;
    };
    const Setting settings[] = {
        {"fechaoperdesde", "01/01/2024", "DATOS"},
        {"fechaoperhasta", "31/12/2025", "DATOS"},
        {"PERIODO", "2025", "DATOS"},
        {"MostrarStockenConsultas", "SI", "STOCK"},
        {"TituloClientes", "Clientes", "GENERAL"},
        {"TituloProveedores", "Proveedores", "GENERAL"},
        {"EXIGECLAVECONSULTALIKEARTICULOS", "NO", "STOCK"},
        {"UsaConsultaLike", "SI", "GENERAL"},
        {"CantidadDecimales", "2", "GENERAL"},
        {"UsaMultilesMonedas", "NO", "GENERAL"},
        {"UsaFacturaProforma", "NO", "VENTAS"},
        {"USACCOSTO", "SI", "CONTABILIDAD"},
        {"UNIDADDEMEDIDA_M3", "M3", "STOCK"},
        {"UNIDADDEMEDIDA_BL", "BL", "STOCK"},
        {"UNIDADDEMEDIDA_KG", "KG", "STOCK"},
        {"VALIDACODIGOBARRA", "NO", "STOCK"},
        {"CFondo", "12648447", "GENERAL"},
        {"CLetra", "0", "GENERAL"},
        {"ModuloOrdenDeTrabajo", "SI", "GENERAL"},
        {"V_ModificaCPrecio", "SI", "VENTAS"},
        {"C_ModificaCPrecio", "NO", "COMPRAS"},
        {"MADERERA", "NO", "GENERAL"},
        {"CuentaCtroDist", "5.2.01.001", "CONTABILIDAD"},
        {"MaxDto", "15", "VENTAS"},
        {"NOM_PCLASE1", "Lista general", "VENTAS"},
        {"NOM_PCLASE2", "Mayorista", "VENTAS"},
    };
    auto config = Insert("TA_CONFIGURACION", {"CLAVE", "VALOR", "valoraux", "Grupo"});
    for (const Setting& s : settings) config.Text(s.key).Text(s.value).Null().Text(s.group).Row();

    auto users = Insert("ta_usuarios", {"nombre", "NombreCompleto", "Administrador", "UNegocio"});
    users.Text("admin").Text("Administrador del sistema").Int(1).Text("1").Row();
    users.Text("operador").Text("Operador de depósito").Int(0).Text("2").Row();

    auto deposits = Insert("V_TA_DEPOSITO", {"Codigo", "Descripcion", "UsaPosiciones", "Sucursal"});
    deposits.Text("01").Text("Depósito Central").Int(1).Text("0001").Row();
    deposits.Text("02").Text("Sucursal Norte").Int(0).Text("0002").Row();
    deposits.Text("03").Text("Mercadería en tránsito").Int(0).Text("0001").Row();

    auto families = Insert("V_TA_FAMILIAS", {"Codigo", "Descripcion", "Nivel"});
    for (const Family& f : kFamilies) families.Text(f.code).Text(f.name).Int(1).Row();

    auto boxes = Insert("V_TA_CAJAS", {"Codigo", "Descripcion", "Cuenta", "Sucursal"});
    boxes.Text("1").Text("Caja principal").Text(kCash).Text("0001").Row();
    boxes.Text("2").Text("Caja Sucursal Norte").Text(kCash).Text("0002").Row();

    auto journal = Insert("AC_CUENTASDIARIO", {"Codigo", "Descripcion", "Cuenta", "DebeHaber"});
    journal.Text("VTA").Text("Ventas").Text(kSales).Text("H").Row();
    journal.Text("CPR").Text("Compras").Text(kPurchases).Text("D").Row();
    journal.Text("COB").Text("Cobranzas").Text(kCash).Text("D").Row();
    journal.Text("PAG").Text("Pagos").Text(kBank).Text("H").Row();

    auto centres =
        Insert("AC_CUENTASDIARIO_CCOSTO", {"Codigo", "CCosto", "Descripcion", "Porcentaje"});
    centres.Text("VTA").Text("ADM").Text("Administración").Real(30).Row();
    centres.Text("VTA").Text("COM").Text("Comercialización").Real(70).Row();
    centres.Text("CPR").Text("DEP").Text("Depósito").Real(100).Row();

    auto contacts = Insert("MA_CONTACTOS",
                           {"Nombre_y_Apellido", "Domicilio", "Localidad", "Telefono", "Cuenta"});
    for (int i = 0; i < static_cast<int>(kContacts.size()); ++i) {
        contacts.Text(kContacts[static_cast<std::size_t>(i)])
            .Text("Calle " + std::to_string(100 + 37 * i))
            .Text(i % 2 == 0 ? "Córdoba" : "Villa María")
            .Text("0351-4" + Padded(20000 + 311 * i, 6))
            .Text("C" + Padded(i + 1, 4))
            .Row();
    }
    auto sellers = Insert("V_TA_VENDEDORES", {"IDVENDEDOR", "NOMBRE"});
    sellers.Text("1").Text("Mostrador").Row();
    sellers.Text("2").Text("Viajante zona norte").Row();
    auto technicians = Insert("V_TA_TECNICOS", {"IDTECNICO", "NOMBRE"});
    technicians.Text("1").Text("Técnico de planta").Row();
    technicians.Text("2").Text("Técnico externo").Row();
    auto maintenance = Insert("V_MA_MANTENIMIENTOS", {"CODIGO", "DESCRIPCION", "Frecuencia"});
    maintenance.Text("PREV").Text("Mantenimiento preventivo").Int(90).Row();
    maintenance.Text("CORR").Text("Mantenimiento correctivo").Int(0).Row();
}

void Generator::Accounts() {
    auto accounts = Insert("MA_CUENTAS", {"Codigo", "Descripcion", "Tipo", "Imputable", "CUIT",
                                          "Contacto", "Dada_De_Baja"});
    const std::pair<const char*, const char*> ledger[] = {
        {kCash, "Caja"},
        {kBank, "Banco cuenta corriente"},
        {"1.1.03.001", "Deudores por ventas"},
        {kVatCredit, "IVA Crédito Fiscal"},
        {"2.1.01.001", "Proveedores"},
        {kVatDebit, "IVA Débito Fiscal"},
        {kSales, "Ventas"},
        {kPurchases, "Compras"},
        {"5.2.01.001", "Gastos generales"},
    };
    for (const auto& [code, name] : ledger) {
        accounts.Text(code).Text(name).Text("G").Int(1).Null().Null().Int(0).Row();
    }
    const auto party = [&](const std::string& code, const std::string& name, const char* type,
                           int i) {
        accounts.Text(code)
            .Text(name)
            .Text(type)
            .Int(1)
            .Text("30-" + Padded(50000000 + 7919LL * i, 8) + "-" + std::to_string(i % 10))
            .Text(kContacts[static_cast<std::size_t>(i) % kContacts.size()])
            .Int(i % 17 == 16 ? 1 : 0)
            .Row();
    };
    for (int i = 0; i < kCustomers; ++i) {
        customers_.push_back({"C" + Padded(i + 1, 4), CompanyName(i)});
        party(customers_.back().code, customers_.back().name, "C", i);
    }
    for (int i = 0; i < kSuppliers; ++i) {
        suppliers_.push_back({"P" + Padded(i + 1, 4), CompanyName(i + 5)});
        party(suppliers_.back().code, suppliers_.back().name, "P", i + kCustomers);
    }
    party(kSupplierWithoutVouchers, "Proveedor sin comprobantes", "P", kCustomers + kSuppliers);
}

void Generator::Articles() {
    SplitMix64 rng = detail::Stream(seed_, kArticlesStream);
    const int count = std::max(40, static_cast<int>(std::lround(120 * std::sqrt(scale_))));
    auto rows =
        Insert("V_MA_ARTICULOS", {"IDARTICULO", "DESCRIPCION", "IDUNIDAD", "IDFAMILIA", "PRECIO1",
                                  "PRECIO2", "ControlaLote", "ControlaSerie", "SUSPENDIDO"});
    for (int a = 0; a < count; ++a) {
        const Family& family = kFamilies[static_cast<std::size_t>(a) % kFamilies.size()];
        Article article;
        article.code = std::string(family.code) + "-" + Padded(a + 1, 4);
        article.description =
            std::string(family.products[static_cast<std::size_t>(a / 5) % family.products.size()]) +
            " " + family.sizes[static_cast<std::size_t>(a / 30) % family.sizes.size()];
        article.unit = family.unit;
        article.fractional = family.fractional;
        const std::uint32_t control = rng.Below(100);
        article.control = control < 20   ? Control::kLot
                          : control < 28 ? Control::kSerial
                                         : Control::kNone;
        static constexpr std::array<int, 6> kPacks = {1, 1, 1, 1, 10, 12};
        article.pack = kPacks[rng.Below(kPacks.size())];
        article.home_position = static_cast<int>(rng.Below(15));
        article.suspended = rng.Percent(4);
        // Two articles whose descriptions hold single quotes (inches typed as two quotes).
        if (a == 5) article.description = "Tornillo 1/4'' x 2";
        if (a == 13) article.description = "Caño 3/4'' termofusión";
        if (a == 5 || a == 13) {
            article.control = Control::kNone;
            article.fractional = false;
            article.suspended = false;
        }
        const long long price = 150 + rng.Below(250000);
        rows.Text(article.code)
            .Text(article.description)
            .Text(article.unit)
            .Text(family.code)
            .Money(price)
            .Money(price * 85 / 100)
            .Int(article.control == Control::kLot ? 1 : 0)
            .Int(article.control == Control::kSerial ? 1 : 0)
            .Int(article.suspended ? 1 : 0)
            .Row();
        articles_.push_back(std::move(article));
    }
}

// Accounting entries and their application rows. Every entry line refers to a voucher
// (TC, SUCURSAL, NUMERO, Letra) under its account; application rows refer back to a line
// by (CUENTA, TC, SUCURSAL, NUMERO, Letra). A few application rows refer to a voucher of
// branch 0009, which no entry has.
void Generator::Entries() {
    SplitMix64 rng = detail::Stream(seed_, kEntriesStream);
    const long long lines = Scaled(kEntryLines);
    const long long applications = Scaled(kApplications);
    const long long orphans = std::max<long long>(3, applications / 100);
    const long long linked = applications - orphans;
    DateSpread dates(lines);

    auto entries = Insert("MV_ASIENTOS", {"Cuenta", "Secuencia", "Mes_operativo", "NUMERO ASIENTO",
                                          "PERIODO", "TIPO_REG", "FECHA", "TC", "SUCURSAL",
                                          "NUMERO", "Letra", "Importe", "Detalle"});
    auto apps =
        Insert("MV_APLICACION", {"CUENTA", "TC", "SUCURSAL", "NUMERO", "Letra", "TC_APLICA",
                                 "SUCURSAL_APLICA", "NUMERO_APLICA", "LETRA_APLICA", "Importe"});

    std::array<int, kYears> entry_numbers{};
    std::map<std::string, long long> voucher_numbers;  // per TC + branch + letter
    long long line = 0;
    while (line < lines) {
        // Sales and purchases take three lines, receipts and payments two. An entry is
        // dated by its last line, so the last entry falls on the last day.
        const std::uint32_t kind = rng.Below(100);
        const long long size = kind < 60 ? 3 : 2;
        const int day = dates.Day(std::min(lines, line + size) - 1);
        const Civil civil = CivilFromDays(day);
        const std::string fecha = IsoDate(day);
        const int number = ++entry_numbers[static_cast<std::size_t>(civil.year - kFirstYear)];

        const char* tc = kind < 35 ? "FC" : kind < 60 ? "FA" : kind < 85 ? "RC" : "OP";
        const char* applied_tc = kind < 35 ? "RC" : kind < 60 ? "OP" : kind < 85 ? "FC" : "FA";
        const std::string branch = rng.Percent(75) ? "0001" : "0002";
        const char* letter = kind < 35 ? (rng.Percent(40) ? "A" : "B") : kind < 60 ? "A" : "X";
        const std::string numero = Padded(++voucher_numbers[std::string(tc) + branch + letter], 8);
        const long long net = 1000 + rng.Below(5000000);
        const long long vat = net * 21 / 100;
        const std::string& customer = customers_[rng.Below(kCustomers)].code;
        const std::string& supplier = suppliers_[rng.Below(kSuppliers)].code;

        struct Line {
            std::string account;
            const char* side;
            long long cents;
        };
        std::vector<Line> parts;
        std::string detail;
        if (kind < 35) {
            parts = {{customer, "D", net + vat}, {kSales, "H", net}, {kVatDebit, "H", vat}};
            detail = "Venta s/factura ";
        } else if (kind < 60) {
            parts = {{kPurchases, "D", net}, {kVatCredit, "D", vat}, {supplier, "H", net + vat}};
            detail = "Compra s/factura ";
        } else if (kind < 85) {
            parts = {{kCash, "D", net}, {customer, "H", net}};
            detail = "Cobranza s/recibo ";
        } else {
            parts = {{supplier, "D", net}, {kBank, "H", net}};
            detail = "Pago s/orden ";
        }
        detail += std::string(tc) + " " + branch + "-" + numero + " " + letter;

        for (std::size_t s = 0; s < parts.size() && line < lines; ++s, ++line) {
            const Line& part = parts[s];
            entries.Text(part.account)
                .Int(static_cast<long long>(s) + 1)
                .Int(civil.month)
                .Int(number)
                .Int(civil.year)
                .Text(part.side)
                .Text(fecha)
                .Text(tc)
                .Text(branch)
                .Text(numero)
                .Text(letter)
                .Money(part.cents)
                .Text(detail)
                .Row();
            const long long share = Share(line, lines, linked);
            for (long long k = 0; k < share; ++k) {
                apps.Text(part.account)
                    .Text(tc)
                    .Text(branch)
                    .Text(numero)
                    .Text(letter)
                    .Text(applied_tc)
                    .Text(branch)
                    .Text(Padded(1 + rng.Below(99999), 8))
                    .Text(applied_tc[0] == 'F' ? "A" : "X")
                    .Money(part.cents / share)
                    .Row();
            }
        }
    }
    for (long long k = 0; k < orphans; ++k) {
        apps.Text(customers_[static_cast<std::size_t>(k) % customers_.size()].code)
            .Text("FC")
            .Text("0009")
            .Text(Padded(k + 1, 8))
            .Text("A")
            .Text("RC")
            .Text("0009")
            .Text(Padded(k + 1, 8))
            .Text("X")
            .Money(10000 + 100 * k)
            .Row();
    }
}

// Sales vouchers and their four dependent tables. Numbers run per type, branch and letter,
// so the same IDCOMPROBANTE exists under several types in different years. Dependent rows
// without a header: type ND (no sales voucher has it) with numbers that do exist under FC.
void Generator::SalesVouchers() {
    SplitMix64 rng = detail::Stream(seed_, kSalesStream);
    const long long headers = Scaled(kSalesHeaders);
    const long long materials = Scaled(kSalesMaterials);
    const long long observations = Scaled(kSalesObservations);
    const long long tasks = Scaled(kSalesTasks);
    const long long documents = Scaled(kSalesDocuments);
    DateSpread dates(headers);

    auto head = Insert(
        "V_MV_CPTE", {"TC", "IDCOMPROBANTE", "FECHA", "CUENTA", "Neto", "Iva", "Total", "Anulado"});
    auto material = Insert("V_MV_CPTEINSUMOS", {"TC", "IDCOMPROBANTE", "SECUENCIA", "IDARTICULO",
                                                "DESCRIPCION", "IDUNIDAD", "CANTIDAD", "PRECIO"});
    auto observation =
        Insert("V_MV_CPTE_OBSERV", {"TC", "IDCOMPROBANTE", "SECUENCIA", "OBSERVACION"});
    auto task = Insert("V_MV_CPTETAREAS",
                       {"TC", "IDCOMPROBANTE", "SECUENCIA", "IDTAREA", "DESCRIPCION", "HORAS"});
    auto document =
        Insert("V_MV_CPTEDOC", {"TC", "IDCOMPROBANTE", "SECUENCIA", "DOCUMENTO", "DESCRIPCION"});

    static constexpr std::array<const char*, 4> kObservations = {
        "Entregar en horario de comercio", "Cliente retira por depósito", "Pago contra entrega",
        "Precios sujetos a modificación sin previo aviso"};
    static constexpr std::array<const char*, 4> kTasks = {"Instalación", "Visita técnica", "Armado",
                                                          "Flete"};

    std::map<std::string, long long> numbers;
    std::vector<std::string> sample;  // some FC numbers, for the dependent rows without header
    const auto voucher = [&](const char* tc, const std::string& id, const std::string& fecha,
                             long long n_materials, long long n_observations, long long n_tasks,
                             long long n_documents) {
        const long long net = 1000 + rng.Below(3000000);
        head.Text(tc)
            .Text(id)
            .Text(fecha)
            .Text(customers_[rng.Below(kCustomers)].code)
            .Money(net)
            .Money(net * 21 / 100)
            .Money(net + net * 21 / 100)
            .Int(rng.Percent(2) ? 1 : 0)
            .Row();
        for (long long s = 1; s <= n_materials; ++s) {
            const Article& a = articles_[rng.Below(static_cast<std::uint32_t>(articles_.size()))];
            material.Text(tc)
                .Text(id)
                .Int(s)
                .Text(a.code)
                .Text(a.description)
                .Text(a.unit)
                .Int(1 + rng.Below(20))
                .Money(150 + rng.Below(250000))
                .Row();
        }
        for (long long s = 1; s <= n_observations; ++s) {
            observation.Text(tc).Text(id).Int(s).Text(kObservations[rng.Below(4)]).Row();
        }
        for (long long s = 1; s <= n_tasks; ++s) {
            task.Text(tc)
                .Text(id)
                .Int(s)
                .Text("T" + Padded(1 + rng.Below(12), 2))
                .Text(kTasks[rng.Below(4)])
                .Real(0.25 * (1 + rng.Below(32)))
                .Row();
        }
        for (long long s = 1; s <= n_documents; ++s) {
            document.Text(tc)
                .Text(id)
                .Int(s)
                .Text(std::string(tc) + "_" + id + "_" + std::to_string(s) + ".pdf")
                .Text("Comprobante firmado")
                .Row();
        }
    };

    for (long long i = 0; i < headers; ++i) {
        const std::uint32_t kind = rng.Below(100);
        const char* tc = kind < 70 ? "FC" : kind < 90 ? "NC" : "RM";
        const char* letter = kind >= 90 ? "X" : rng.Percent(40) ? "A" : "B";
        const std::string branch = rng.Percent(75) ? "0001" : "0002";
        const std::string id =
            branch + Padded(++numbers[std::string(tc) + branch + letter], 8) + letter;
        if (std::string_view(tc) == "FC" && sample.size() < 64 && i % 7 == 3) sample.push_back(id);
        voucher(tc, id, IsoDate(dates.Day(i)), Share(i, headers, materials),
                Share(i, headers, observations), Share(i, headers, tasks),
                Share(i, headers, documents));
    }
    // One voucher per year stamped late on 31 December.
    for (int y = kFirstYear; y <= kLastYear; ++y) {
        const std::string id = "0001" + Padded(++numbers["FC0001B"], 8) + "B";
        voucher("FC", id, IsoDate(DaysFromCivil(y, 12, 31), 19, 45), 2, 1, 0, 0);
    }
    if (sample.empty()) sample.push_back("000100000001B");

    const auto orphan_count = [](long long rows) { return std::max<long long>(2, rows / 100); };
    for (long long k = 0; k < orphan_count(materials); ++k) {
        const Article& a = articles_[static_cast<std::size_t>(k) % articles_.size()];
        material.Text("ND")
            .Text(sample[static_cast<std::size_t>(k) % sample.size()])
            .Int(1)
            .Text(a.code)
            .Text(a.description)
            .Text(a.unit)
            .Int(1)
            .Money(1000)
            .Row();
    }
    for (long long k = 0; k < orphan_count(observations); ++k) {
        observation.Text("ND")
            .Text(sample[static_cast<std::size_t>(k) % sample.size()])
            .Int(1)
            .Text("Observación sin comprobante")
            .Row();
    }
    for (long long k = 0; k < orphan_count(tasks); ++k) {
        task.Text("ND")
            .Text(sample[static_cast<std::size_t>(k) % sample.size()])
            .Int(1)
            .Text("T01")
            .Text("Tarea sin comprobante")
            .Real(1)
            .Row();
    }
    for (long long k = 0; k < orphan_count(documents); ++k) {
        document.Text("ND")
            .Text(sample[static_cast<std::size_t>(k) % sample.size()])
            .Int(1)
            .Text("sin_comprobante.pdf")
            .Text("Documento sin comprobante")
            .Row();
    }
}

// Purchase vouchers and their three dependent tables. Each supplier numbers its own
// vouchers, and a few suppliers issue most of them, so the same (TC, IDCOMPROBANTE) turns up
// under several suppliers years apart. Dependent rows without a header are filed under
// supplier P0026, which has no voucher.
void Generator::PurchaseVouchers() {
    SplitMix64 rng = detail::Stream(seed_, kPurchasesStream);
    const long long headers = Scaled(kPurchaseHeaders);
    const long long materials = Scaled(kPurchaseMaterials);
    const long long observations = Scaled(kPurchaseObservations);
    const long long tasks = Scaled(kPurchaseTasks);
    DateSpread dates(headers);

    auto head = Insert(
        "C_MV_CPTE", {"TC", "CUENTA", "IDCOMPROBANTE", "FECHA", "Neto", "Iva", "Total", "Anulado"});
    auto material =
        Insert("C_MV_CPTEINSUMOS", {"TC", "CUENTA", "IDCOMPROBANTE", "SECUENCIA", "IDARTICULO",
                                    "DESCRIPCION", "IDUNIDAD", "CANTIDAD", "PRECIO"});
    auto observation =
        Insert("C_MV_CPTE_OBSERV", {"TC", "CUENTA", "IDCOMPROBANTE", "SECUENCIA", "OBSERVACION"});
    auto task = Insert("C_MV_CPTETAREAS", {"TC", "CUENTA", "IDCOMPROBANTE", "SECUENCIA", "IDTAREA",
                                           "DESCRIPCION", "HORAS"});

    std::map<std::string, long long> numbers;
    std::vector<std::pair<std::string, std::string>> sample;  // (TC, IDCOMPROBANTE)
    for (long long i = 0; i < headers; ++i) {
        // Skewed choice: low supplier numbers are picked far more often.
        const std::size_t s = rng.Below(rng.Below(kSuppliers) + 1);
        const Account& supplier = suppliers_[s];
        const char* tc = rng.Percent(85) ? "FA" : "NC";
        const std::string branch = "000" + std::to_string(1 + s % 3);
        const char* letter = s % 4 == 3 ? "B" : "A";
        const std::string id = branch + Padded(++numbers[supplier.code + tc], 8) + letter;
        if (sample.size() < 64 && i % 5 == 2) sample.emplace_back(tc, id);
        const long long net = 1000 + rng.Below(8000000);
        head.Text(tc)
            .Text(supplier.code)
            .Text(id)
            .Text(IsoDate(dates.Day(i)))
            .Money(net)
            .Money(net * 21 / 100)
            .Money(net + net * 21 / 100)
            .Int(rng.Percent(2) ? 1 : 0)
            .Row();
        for (long long q = 1; q <= Share(i, headers, materials); ++q) {
            const Article& a = articles_[rng.Below(static_cast<std::uint32_t>(articles_.size()))];
            material.Text(tc)
                .Text(supplier.code)
                .Text(id)
                .Int(q)
                .Text(a.code)
                .Text(a.description)
                .Text(a.unit)
                .Int(1 + rng.Below(100))
                .Money(100 + rng.Below(200000))
                .Row();
        }
        for (long long q = 1; q <= Share(i, headers, observations); ++q) {
            observation.Text(tc)
                .Text(supplier.code)
                .Text(id)
                .Int(q)
                .Text(rng.Percent(50) ? "Mercadería recibida conforme" : "Faltante a reclamar")
                .Row();
        }
        for (long long q = 1; q <= Share(i, headers, tasks); ++q) {
            task.Text(tc)
                .Text(supplier.code)
                .Text(id)
                .Int(q)
                .Text("T" + Padded(1 + rng.Below(12), 2))
                .Text("Servicio de terceros")
                .Real(0.5 * (1 + rng.Below(16)))
                .Row();
        }
    }
    if (sample.empty()) sample.emplace_back("FA", "000100000001A");

    const auto orphan_count = [](long long rows) { return std::max<long long>(2, rows / 100); };
    for (long long k = 0; k < orphan_count(materials); ++k) {
        const auto& [tc, id] = sample[static_cast<std::size_t>(k) % sample.size()];
        material.Text(tc)
            .Text(kSupplierWithoutVouchers)
            .Text(id)
            .Int(1)
            .Text(articles_.front().code)
            .Text(articles_.front().description)
            .Text(articles_.front().unit)
            .Int(1)
            .Money(1000)
            .Row();
    }
    for (long long k = 0; k < orphan_count(observations); ++k) {
        const auto& [tc, id] = sample[static_cast<std::size_t>(k) % sample.size()];
        observation.Text(tc)
            .Text(kSupplierWithoutVouchers)
            .Text(id)
            .Int(1)
            .Text("Observación sin comprobante")
            .Row();
    }
    for (long long k = 0; k < orphan_count(tasks); ++k) {
        const auto& [tc, id] = sample[static_cast<std::size_t>(k) % sample.size()];
        task.Text(tc)
            .Text(kSupplierWithoutVouchers)
            .Text(id)
            .Int(1)
            .Text("T01")
            .Text("Tarea sin comprobante")
            .Real(1)
            .Row();
    }
}

// Stock movements in three deposits (positions in the first), with lots and serial numbers
// for the articles that control them; some voided, a few with a Null article, description
// or unit. Before them, unless disabled, the opening balance left by an earlier purge up
// to 31/12/2018: voucher SI 000100000041X.
void Generator::Stock() {
    SplitMix64 rng = detail::Stream(seed_, kStockStream);
    auto stock =
        Insert("V_MV_STOCK", {"TC", "IDCOMPROBANTE", "SECUENCIA", "FECHA", "IDARTICULO",
                              "DESCRIPCION", "IDUNIDAD", "CANTIDAD", "CantidadUD", "IdDeposito",
                              "IdPosicion", "NroSerie", "NroLote", "Anulado", "ControladoPor"});
    const auto position = [](int p) {
        return std::string(1, static_cast<char>('A' + p / 5)) + "-" + Padded(p % 5 + 1, 2);
    };
    const auto serial = [](const Article& a, int n) {
        return "SN" + a.code.substr(a.code.size() - 4) + "-" + Padded(n, 3);
    };

    if (opening_) {
        const std::string fecha = IsoDate(DaysFromCivil(2018, 12, 31));
        long long line = 0;
        for (std::size_t i = 0; i < articles_.size(); ++i) {
            const Article& a = articles_[i];
            for (const char* deposit : {"01", "02"}) {
                const bool central = deposit[1] == '1';
                if (!central && i % 3 != 0) continue;
                const int pieces = a.control == Control::kSerial ? 3 : 1;
                for (int p = 1; p <= pieces; ++p) {
                    const double quantity =
                        a.control == Control::kSerial ? 1.0 : 10.0 + rng.Below(191);
                    stock.Text("SI")
                        .Text("000100000041X")
                        .Int(++line)
                        .Text(fecha)
                        .Text(a.code)
                        .Text(a.description)
                        .Text(a.unit)
                        .Real(quantity)
                        .Real(quantity * a.pack)
                        .Text(deposit)
                        .TextOrNull(!central, position(a.home_position))
                        .TextOrNull(a.control != Control::kSerial, serial(a, p))
                        .TextOrNull(a.control != Control::kLot, "L18-01")
                        .Int(0)
                        .Text("Depuracion")
                        .Row();
                }
            }
        }
    }

    const long long lines = Scaled(kStockMovements);
    DateSpread dates(lines);
    std::map<std::string, long long> numbers;
    long long line = 0;
    while (line < lines) {
        const int items = 1 + static_cast<int>(rng.Below(4));
        const int day = dates.Day(std::min(lines, line + items) - 1);  // dated by its last line
        const std::string fecha = IsoDate(day);
        const std::uint32_t kind = rng.Below(100);
        const char* tc = kind < 40 ? "RM" : kind < 60 ? "FC" : kind < 85 ? "FA" : "AJ";
        const char* letter = kind < 40 || kind >= 85 ? "X" : "A";
        const std::string id = "0001" + Padded(++numbers[tc], 8) + letter;
        const std::uint32_t where = rng.Below(10);
        const char* deposit = where < 6 ? "01" : where < 9 ? "02" : "03";
        const bool central = where < 6;
        const char* user = rng.Percent(70) ? "operador" : "admin";
        for (int s = 1; s <= items && line < lines; ++s, ++line) {
            // Skewed towards the first articles; every 50th line is a quoted description.
            std::size_t pick =
                rng.Below(rng.Below(static_cast<std::uint32_t>(articles_.size())) + 1);
            if (line % 50 == 7) pick = line % 100 == 7 ? 5 : 13;
            const Article& a = articles_[pick];
            const int sign = kind < 60 ? -1 : kind < 85 ? 1 : (rng.Percent(50) ? 1 : -1);
            double quantity = 0;
            if (a.control == Control::kSerial) {
                quantity = 1;
            } else if (a.fractional) {
                quantity = 0.25 * (1 + rng.Below(200));
            } else {
                quantity = 1 + rng.Below(kind >= 60 && kind < 85 ? 60 : 20);
            }
            quantity *= sign;
            const Civil civil = CivilFromDays(day);
            const std::string lot =
                "L" + Padded(civil.year % 100, 2) + "-" + Padded(1 + rng.Below(4), 2);
            const bool no_article = line % 307 == 101;
            const bool no_description = line % 211 == 17;
            const bool no_unit = line % 223 == 31;
            stock.Text(tc)
                .Text(id)
                .Int(s)
                .Text(fecha)
                .TextOrNull(no_article, a.code)
                .TextOrNull(no_description, no_article ? "Artículo sin codificar" : a.description)
                .TextOrNull(no_unit, a.unit)
                .Real(quantity)
                .Real(quantity * a.pack)
                .Text(deposit)
                .TextOrNull(!central, position(rng.Percent(90) ? a.home_position
                                                               : static_cast<int>(rng.Below(15))))
                .TextOrNull(a.control != Control::kSerial,
                            serial(a, 1 + static_cast<int>(rng.Below(30))))
                .TextOrNull(a.control != Control::kLot, lot)
                .Int(rng.Percent(3) ? 1 : 0)
                .Text(user)
                .Row();
        }
    }
}

void Generator::Shortages() {
    auto rows = Insert("V_MV_FALTANTES", {"FechaHora", "IdArticulo", "Descripcion", "Usuario"});
    for (int i = 0; i < 12; ++i) {
        const Article& a = articles_[static_cast<std::size_t>(i * 7) % articles_.size()];
        std::string code(25 - std::min<std::size_t>(25, a.code.size()), ' ');  // right-aligned
        code += a.code;
        rows.Text(IsoDate(DaysFromCivil(2024, 1 + i, 5 + i), 9 + i % 8, 5 * i))
            .Text(code)
            .Text(a.description)
            .Text(i % 3 == 0 ? "admin" : "operador")
            .Row();
    }
}

// ---- files ---------------------------------------------------------------------------------

// ---- what the lookups show ------------------------------------------------------------------

// Reorder points, stock and price classes 3 to 8 of the articles (some without a reorder
// point, some below it, some above, some exactly at it), the lookup configuration keys,
// contacts whose texts hold accents, ñ, apostrophes and trailing blanks, sub-families in two
// and three levels (one level skipped), positions and cost centres with hierarchical codes
// (one cost-centre code repeated).
void Generator::LookupData() {
    {
        detail::StatementHandle update = detail::Prepare(
            db_,
            "UPDATE V_MA_ARTICULOS SET PUNTOPEDIDO = ?, Stock = ?, PRECIO3 = PRECIO1 * 0.9, "
            "PRECIO4 = PRECIO1 * 0.8, PRECIO5 = PRECIO1 * 1.1, PRECIO6 = PRECIO1 * 1.2, "
            "PRECIO7 = PRECIO1 * 0.75, PRECIO8 = PRECIO1 * 1.3 WHERE IDARTICULO = ?");
        for (std::size_t i = 0; i < articles_.size(); ++i) {
            static constexpr std::array<std::pair<int, int>, 6> kLevels = {
                {{-1, 12}, {0, 30}, {20, 4}, {10, 45}, {15, 15}, {0, 0}}};
            const auto [reorder, stock] = kLevels[i % kLevels.size()];
            if (reorder < 0) {
                sqlite3_bind_null(update.get(), 1);
            } else {
                sqlite3_bind_int(update.get(), 1, reorder);
            }
            sqlite3_bind_int(update.get(), 2, stock + static_cast<int>(i % 3));
            sqlite3_bind_text(update.get(), 3, articles_[i].code.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(update.get()) != SQLITE_DONE) {
                detail::ThrowEngineError(db_, "No se pudo grabar un artículo");
            }
            sqlite3_reset(update.get());
        }
    }

    struct Setting {
        const char* key;
        const char* value;
    };
    const Setting settings[] = {
        {"NOM_PCLASE3", "Distribuidor"}, {"NOM_PCLASE4", "Gremio"},
        {"NOM_PCLASE5", "Público"},      {"NOM_PCLASE6", "Tarjeta"},
        {"NOM_PCLASE7", "Liquidación"},  {"NOM_PCLASE8", "Importación"},
        {"Stk_Nivel1", "32768"},         {"Stk_Nivel2", "16711680"},
        {"Stk_Nivel3", "255"},           {"Stk_Nivel4", "8421504"},
        {"TopConsArt", "1000"},
    };
    auto config = Insert("TA_CONFIGURACION", {"CLAVE", "VALOR", "valoraux", "Grupo"});
    for (const Setting& s : settings) config.Text(s.key).Text(s.value).Null().Text("STOCK").Row();

    static constexpr std::array<const char*, 10> kFirst = {
        "José",  "María Inés", "Ñato",      "Begoña", "Andrés",
        "Lucía", "Íñigo",      "Sebastián", "Zoé",    "Martín"};
    static constexpr std::array<const char*, 10> kLast = {
        "O'Connor", "Muñoz", "D'Angelo",  "Peña",    "Güemes",
        "Ibáñez",   "Núñez", "O'Higgins", "Álvarez", "Cañete"};
    static constexpr std::array<const char*, 5> kTowns = {
        "Río Cuarto", "Villa María", "San Nicolás", "Córdoba", "Concepción del Uruguay"};
    auto contacts = Insert("MA_CONTACTOS",
                           {"Nombre_y_Apellido", "Domicilio", "Localidad", "Telefono", "Cuenta"});
    for (int i = 0; i < 300; ++i) {
        const auto at = [i](auto& list, int step) {
            return list[static_cast<std::size_t>(i / step) % list.size()];
        };
        std::string name = std::string(at(kFirst, 1)) + " " + at(kLast, 10);
        if (i % 4 == 3) name += "   ";  // typed with trailing blanks
        contacts.Text(name)
            .Text("Av. Colón " + std::to_string(100 + 7 * i) + (i % 6 == 0 ? " 2º \"B\"" : ""))
            .Text(at(kTowns, 3))
            .Text("0358-46" + Padded(1000 + 13 * i, 5))
            .Text("C" + Padded(i % kCustomers + 1, 4))
            .Row();
    }

    const std::pair<const char*, const char*> families[] = {
        {"FER01", "Tornillería"},
        {"FER0101", "Tornillos autoperforantes"},
        {"FER0102", "Bulones y tuercas"},
        {"FER02", "Herrajes"},
        {"ELE01", "Cables"},
        {"ELE0101", "Cables unipolares"},
        {"PIN0101", "Látex de interior"},  // its level PIN01 does not exist
    };
    auto subfamilies = Insert("V_TA_FAMILIAS", {"Codigo", "Descripcion", "Nivel"});
    for (const auto& [code, name] : families) {
        subfamilies.Text(code).Text(name).Int(static_cast<int>(std::strlen(code) - 1) / 2).Row();
    }

    const std::pair<const char*, const char*> positions[] = {
        {"01", "Depósito central"}, {"0101", "Estantería A"},         {"010101", "Estante A1"},
        {"010102", "Estante A2"},   {"0102", "Estantería B"},         {"02", "Sucursal Norte"},
        {"0201", "Playa de carga"}, {"03", "Mercadería en tránsito"},
    };
    auto places = Insert("MA_POSICIONES", {"IDPOSICION", "Descripcion", "Deposito"});
    for (const auto& [code, name] : positions) {
        places.Text(code).Text(name).Text(std::string("0") + code[1]).Row();
    }

    const std::pair<const char*, const char*> centres[] = {
        {"1", "Administración"},
        {"11", "Contaduría"},
        {"111", "Cuentas a pagar"},
        {"12", "Personal"},
        {"2", "Comercialización"},
        {"21", "Ventas mostrador"},
        {"21", "Ventas mostrador (repetido)"},
        {"3", "Depósito"},
    };
    auto costs = Insert("TA_CCOSTO", {"CODIGO", "Descripcion"});
    for (const auto& [code, name] : centres) costs.Text(code).Text(name).Row();
}

void RemoveDatabaseFiles(const std::filesystem::path& file) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::filesystem::remove(file.string() + suffix, ignored);
    }
}

// Removes the half-written file unless released.
class PartialFile {
  public:
    explicit PartialFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~PartialFile() {
        if (!released_) RemoveDatabaseFiles(path_);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    void Release() { released_ = true; }

  private:
    std::filesystem::path path_;
    bool released_ = false;
};

std::string NormalizedCutoff(const std::string& cutoff) {
    const auto digits = [&](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            if (cutoff[i] < '0' || cutoff[i] > '9') return false;
        }
        return true;
    };
    const bool date = cutoff.size() >= 10 && digits(0, 4) && cutoff[4] == '-' && digits(5, 2) &&
                      cutoff[7] == '-' && digits(8, 2);
    if (date && cutoff.size() == 10) return cutoff + " 00:00:00";
    if (date && cutoff.size() == 19 && cutoff[10] == ' ' && digits(11, 2) && cutoff[13] == ':' &&
        digits(14, 2) && cutoff[16] == ':' && digits(17, 2)) {
        return cutoff;
    }
    throw std::invalid_argument("Fecha de corte no válida (se espera AAAA-MM-DD): " + cutoff);
}

}  // namespace

long long GeneratorStats::Total() const {
    long long total = 0;
    for (const auto& [table, count] : rows) total += count;
    return total;
}

GeneratorStats GenerateDemoDatabase(const std::string& path, const GeneratorOptions& options) {
    if (!(options.scale >= kMinimumScale) || !std::isfinite(options.scale)) {
        throw std::invalid_argument("La escala debe ser un número de 0.05 en adelante");
    }
    const std::filesystem::path target(path);
    if (std::filesystem::exists(target) && !options.replace) {
        throw std::runtime_error("El archivo " + path + " ya existe y no se reemplaza");
    }
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder)) {
        throw std::runtime_error("No existe la carpeta " + folder.string());
    }
    const auto start = std::chrono::steady_clock::now();
    const std::filesystem::path partial = path + ".part";
    RemoveDatabaseFiles(partial);
    PartialFile guard(partial);

    GeneratorStats stats;
    {
        detail::DatabaseHandle db =
            detail::OpenDatabase(partial.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // Nothing to protect while the file is being built: no journal, no syncing.
        detail::Exec(db.get(),
                     "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-32768;");
        detail::Exec(db.get(), TablesSql());
        detail::Exec(db.get(), "BEGIN");
        stats.rows = Generator(db.get(), options).Run();
        detail::Exec(db.get(), IndexesAndViewsSql());
        detail::Exec(db.get(), "COMMIT");
        detail::Exec(db.get(), "PRAGMA synchronous=NORMAL; PRAGMA journal_mode=WAL;");
    }
    if (options.replace) RemoveDatabaseFiles(target);
    std::filesystem::rename(partial, target);
    guard.Release();
    stats.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return stats;
}

std::map<std::string, long long> CountRows(const std::string& path) {
    detail::DatabaseHandle db = detail::OpenDatabase(path, SQLITE_OPEN_READONLY);
    std::vector<std::string> tables;
    {
        detail::StatementHandle list = detail::Prepare(
            db.get(),
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
        while (sqlite3_step(list.get()) == SQLITE_ROW) {
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
        }
    }
    std::map<std::string, long long> counts;
    for (const std::string& table : tables) {
        counts[table] = detail::QueryInt(db.get(), "SELECT COUNT(*) FROM \"" + table + "\"");
    }
    return counts;
}

std::map<std::string, long long> CountRowsOnOrBefore(const std::string& path,
                                                     const std::string& cutoff) {
    const std::string limit = "'" + NormalizedCutoff(cutoff) + "'";
    const auto dated = [&](const std::string& table) {
        return "SELECT COUNT(*) FROM " + table + " WHERE FECHA <= " + limit;
    };
    const auto sales_dependent = [&](const std::string& table) {
        return "SELECT COUNT(*) FROM " + table +
               " d WHERE EXISTS (SELECT 1 FROM V_MV_CPTE h WHERE h.TC = d.TC AND "
               "h.IDCOMPROBANTE = d.IDCOMPROBANTE AND h.FECHA <= " +
               limit + ")";
    };
    const auto purchase_dependent = [&](const std::string& table) {
        return "SELECT COUNT(*) FROM " + table +
               " d WHERE EXISTS (SELECT 1 FROM C_MV_CPTE h WHERE h.TC = d.TC AND "
               "h.CUENTA = d.CUENTA AND h.IDCOMPROBANTE = d.IDCOMPROBANTE AND h.FECHA <= " +
               limit + ")";
    };
    const std::pair<std::string, std::string> queries[] = {
        {"MV_APLICACION",
         "SELECT COUNT(*) FROM MV_APLICACION a WHERE EXISTS (SELECT 1 FROM MV_ASIENTOS s "
         "WHERE s.CUENTA = a.CUENTA AND s.TC = a.TC AND s.SUCURSAL = a.SUCURSAL AND "
         "s.NUMERO = a.NUMERO AND s.Letra = a.Letra AND s.FECHA <= " +
             limit + ")"},
        {"MV_ASIENTOS", dated("MV_ASIENTOS")},
        {"V_MV_STOCK", dated("V_MV_STOCK")},
        {"V_MV_CPTEINSUMOS", sales_dependent("V_MV_CPTEINSUMOS")},
        {"V_MV_CPTE_OBSERV", sales_dependent("V_MV_CPTE_OBSERV")},
        {"V_MV_CPTETAREAS", sales_dependent("V_MV_CPTETAREAS")},
        {"V_MV_CPTEDOC", sales_dependent("V_MV_CPTEDOC")},
        {"V_MV_CPTE", dated("V_MV_CPTE")},
        {"C_MV_CPTEINSUMOS", purchase_dependent("C_MV_CPTEINSUMOS")},
        {"C_MV_CPTE_OBSERV", purchase_dependent("C_MV_CPTE_OBSERV")},
        {"C_MV_CPTETAREAS", purchase_dependent("C_MV_CPTETAREAS")},
        {"C_MV_CPTE", dated("C_MV_CPTE")},
    };
    detail::DatabaseHandle db = detail::OpenDatabase(path, SQLITE_OPEN_READONLY);
    std::map<std::string, long long> counts;
    for (const auto& [table, sql] : queries) counts[table] = detail::QueryInt(db.get(), sql);
    return counts;
}

}  // namespace demo
