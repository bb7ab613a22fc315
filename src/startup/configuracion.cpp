// The configuration table reader and the loading of the global settings.
#include <cmath>
#include <limits>

#include "clientlib/error_policy.h"
#include "clientlib/utility_services.h"
#include "db/db_dll.h"
#include "platform/adodb/connection.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"
#include "startup/globals.h"
#include "startup/mod_global.h"

namespace startup {
namespace {

const clientlib::UtilityServices& Utils() {
    static const clientlib::UtilityServices utils;
    return utils;
}

// Runs one step of the reader. A failure is reported with the procedure name "Cfg": the
// answer Ignore skips the step (false is returned and the reader goes on), any other answer,
// Retry included, leaves the reader.
template <class Step>
bool Run(Step&& step) {
    return clientlib::RunStepOrLeave(step, [](const text::RuntimeError& e) {
        const int answer = Utils().ReportError(e, adodb::Variant::Missing(), "Cfg");
        return answer == ui::kIgnore ? clientlib::OnError::Skip : clientlib::OnError::Leave;
    });
}

bool IsFechaKey(const std::string& key) {
    return text::EqualsNoCase(key, "[FECHA HASTA]") || text::EqualsNoCase(key, "[FECHA DESDE]");
}

// Value as the settings take it: "SI" and "NO" compare without letter case.
bool Is(const std::string& value, const char* word) {
    return text::EqualsNoCase(value, word);
}

std::string Trimmed(db::DB_Dll& db, const char* key) {
    return text::Trim(LeerConfiguracion(db, key));
}

// A switch that is off when empty, off when "NO" exactly (blanks count), on otherwise.
bool SwitchSetting(db::DB_Dll& db, const char* key) {
    if (Trimmed(db, key).empty()) return false;
    return !Is(LeerConfiguracion(db, key), "NO");
}

std::int32_t ColourSetting(db::DB_Dll& db, const char* key) {
    return adodb::Variant(Utils().TextToNumber(LeerConfiguracion(db, key))).ToLong();
}

std::int16_t ShortSetting(db::DB_Dll& db, const char* key) {
    const double rounded = std::nearbyint(text::LeadingNumber(LeerConfiguracion(db, key)));
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw text::RuntimeError(text::errnum::kOverflow, "Overflow");
    }
    return static_cast<std::int16_t>(rounded);
}

std::string UnidadDeNegocio(db::DB_Dll& db) {
    const adodb::Variant value =
        db.DatosTabla("ta_usuarios", gUsuarioLogeado, "UNegocio", "nombre",
                      adodb::Variant(std::int32_t{adodb::dtype::kBSTR}), "", true);
    const std::string fixed = Utils().FixedWidth(Utils().NullToEmpty(value).ToString(), 4);
    return text::Trim(fixed).empty() ? "   1" : fixed;
}

}  // namespace

std::string LeerConfiguracion(db::DB_Dll& db, const std::string& clave, std::string& valorAux) {
    std::string result;
    try {
        bool blankTable = true;
        Run([&] { blankTable = text::Trim(gTablaConfig).empty(); });
        if (blankTable) Run([&] { gTablaConfig = "TA_CONFIGURACION"; });

        const std::string key = text::Trim(clave);
        std::string sql;
        Run([&] {
            sql = "SELECT VALOR, valoraux FROM " + gTablaConfig + " WHERE CLAVE = '" +
                  text::ReplaceAllExact(key, "'", "''") + "'";
        });
        bool upper = true;
        Run([&] { upper = IsFechaKey(key); });
        if (upper) Run([&] { sql = text::ToUpper(sql); });

        adodb::Recordset rs;
        Run([&] {
            db.AbrirRecordset(sql, rs, nullptr, adodb::kOpenForwardOnly, adodb::kLockReadOnly, -1,
                              true);
        });
        bool hasRow = true;
        Run([&] { hasRow = !rs.BOF(); });
        if (hasRow) {
            Run([&] { result = Utils().NullToEmpty(rs.Fields("VALOR")).ToString(); });
            Run([&] { valorAux = Utils().NullToEmpty(rs.Fields("ValorAux")).ToString(); });
        } else {
            result = " ";
            valorAux.clear();
        }
        Run([&] { db.CierraRecordset(rs); });
    } catch (const clientlib::ProcedureLeft&) {
        return {};
    }
    return result;
}

std::string LeerConfiguracion(db::DB_Dll& db, const std::string& clave) {
    std::string valorAux;
    return LeerConfiguracion(db, clave, valorAux);
}

std::string LeerConfiguracion(const std::string& clave, std::string& valorAux) {
    return LeerConfiguracion(db::Db(), clave, valorAux);
}

std::string LeerConfiguracion(const std::string& clave) {
    return LeerConfiguracion(db::Db(), clave);
}

void CargarConfiguracion(const std::string& carpeta) {
    CargarConfiguracion(db::Db(), carpeta);
}

void CargarConfiguracion(db::DB_Dll& db, const std::string& carpeta) {
    const clientlib::UtilityServices& u = Utils();
    gTablaConfig = "ta_configuracion";

    gMostrarStock = Is(LeerConfiguracion(db, "MostrarStockenConsultas"), "SI");
    gTituloClientes = Trimmed(db, "TituloClientes");
    gTituloProveedores = Trimmed(db, "TituloProveedores");
    gRutaDocTareas = carpeta + "OVDOCTareas.ovl";

    gExigeClaveLike = Is(LeerConfiguracion(db, "EXIGECLAVECONSULTALIKEARTICULOS"), "SI");
    gUsaConsultaLike = Is(LeerConfiguracion(db, "UsaConsultaLike"), "SI");
    gCantidadDecimales = LeerConfiguracion(db, "CantidadDecimales");
    gUsaMultiplesMonedas = Is(LeerConfiguracion(db, "UsaMultilesMonedas"), "SI");
    gUsaFacturaProforma = Is(LeerConfiguracion(db, "UsaFacturaProforma"), "SI");
    gUsaCCosto = Is(LeerConfiguracion(db, "USACCOSTO"), "SI");

    gUNegocio = UnidadDeNegocio(db);

    gUnidadM3 = Trimmed(db, "UNIDADDEMEDIDA_M3");
    gUnidadBL = Trimmed(db, "UNIDADDEMEDIDA_BL");
    gUnidadKG = Trimmed(db, "UNIDADDEMEDIDA_KG");
    gPeriodo = ShortSetting(db, "PERIODO");

    gValidaCodigoBarra =
        !Trimmed(db, "VALIDACODIGOBARRA").empty() && Is(Trimmed(db, "VALIDACODIGOBARRA"), "SI");

    gConfigCargada = true;

    gColorFondo = ColourSetting(db, "CFondo");
    gColorLetra = ColourSetting(db, "CLetra");
    if (gColorFondo == 0) gColorFondo = 0xFFFF00;

    gModuloOT = !Is(Trimmed(db, "ModuloOrdenDeTrabajo"), "NO");

    gVModificaCPrecio = SwitchSetting(db, "V_ModificaCPrecio");
    gCModificaCPrecio = SwitchSetting(db, "C_ModificaCPrecio");
    gMaderera = SwitchSetting(db, "MADERERA");

    gMadTiras = Trimmed(db, "MAD_TIRAS");
    gMadP2 = Trimmed(db, "MAD_P2");
    gMadML = Trimmed(db, "MAD_ML");
    gMadM2 = Trimmed(db, "MAD_M2");
    gMadHojas = Trimmed(db, "MAD_HOJAS");
    gMadMLP2 = Trimmed(db, "MAD_ML_P2");
    gMadM2P2 = Trimmed(db, "MAD_M2_P2");
    gMadMLM2 = Trimmed(db, "MAD_ML_M2");
    gCuentaCtroDist = Trimmed(db, "CuentaCtroDist");
    gMaxDto = u.TextToNumber(Trimmed(db, "MaxDto"));
}

}  // namespace startup
