// The configuration table reader and the loading of the global settings.
#include <cmath>
#include <limits>

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

// The operator chose to leave the reader after an error.
struct Abandon {};

// Runs one step of the reader. A failure is reported with the procedure name "Cfg": the
// answer Ignore skips the step (false is returned and the reader goes on), any other answer
// leaves the reader.
template <class Step>
bool Run(Step&& step) {
    try {
        step();
        return true;
    } catch (const text::RuntimeError& e) {
        if (Utils().ReportError(e, adodb::Variant::Missing(), "Cfg") == ui::kIgnore) return false;
        throw Abandon{};
    }
}

bool IsFechaKey(const std::string& key) {
    return text::EqualsNoCase(key, "[FECHA HASTA]") || text::EqualsNoCase(key, "[FECHA DESDE]");
}

// Value as the settings take it: "SI" and "NO" compare without letter case.
bool Is(const std::string& value, const char* word) {
    return text::EqualsNoCase(value, word);
}

std::string Trimmed(const char* key) {
    return text::Trim(LeerConfiguracion(key));
}

// A switch that is off when empty, off when "NO" exactly (blanks count), on otherwise.
bool SwitchSetting(const char* key) {
    if (Trimmed(key).empty()) return false;
    return !Is(LeerConfiguracion(key), "NO");
}

std::int32_t ColourSetting(const char* key) {
    return adodb::Variant(Utils().TextToNumber(LeerConfiguracion(key))).ToLong();
}

std::int16_t ShortSetting(const char* key) {
    const double rounded = std::nearbyint(text::LeadingNumber(LeerConfiguracion(key)));
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw text::RuntimeError(text::errnum::kOverflow, "Overflow");
    }
    return static_cast<std::int16_t>(rounded);
}

std::string UnidadDeNegocio() {
    const adodb::Variant value =
        db::Db().DatosTabla("ta_usuarios", gUsuarioLogeado, "UNegocio", "nombre",
                            adodb::Variant(std::int32_t{8}), "", true);
    const std::string fixed = Utils().FixedWidth(Utils().NullToEmpty(value).ToString(), 4);
    return text::Trim(fixed).empty() ? "   1" : fixed;
}

}  // namespace

std::string LeerConfiguracion(const std::string& clave, std::string& valorAux) {
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
        Run([&] { db::Db().AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
        bool hasRow = true;
        Run([&] { hasRow = !rs.BOF(); });
        if (hasRow) {
            Run([&] { result = Utils().NullToEmpty(rs.Fields("VALOR")).ToString(); });
            Run([&] { valorAux = Utils().NullToEmpty(rs.Fields("ValorAux")).ToString(); });
        } else {
            result = " ";
            valorAux.clear();
        }
        Run([&] { db::Db().CierraRecordset(rs); });
    } catch (const Abandon&) {
        return {};
    }
    return result;
}

std::string LeerConfiguracion(const std::string& clave) {
    std::string valorAux;
    return LeerConfiguracion(clave, valorAux);
}

void CargarConfiguracion(const std::string& carpeta) {
    const clientlib::UtilityServices& u = Utils();
    gTablaConfig = "ta_configuracion";

    gMostrarStock = Is(LeerConfiguracion("MostrarStockenConsultas"), "SI");
    gTituloClientes = Trimmed("TituloClientes");
    gTituloProveedores = Trimmed("TituloProveedores");
    gRutaDocTareas = carpeta + "OVDOCTareas.ovl";

    gExigeClaveLike = Is(LeerConfiguracion("EXIGECLAVECONSULTALIKEARTICULOS"), "SI");
    gUsaConsultaLike = Is(LeerConfiguracion("UsaConsultaLike"), "SI");
    gCantidadDecimales = LeerConfiguracion("CantidadDecimales");
    gUsaMultiplesMonedas = Is(LeerConfiguracion("UsaMultilesMonedas"), "SI");
    gUsaFacturaProforma = Is(LeerConfiguracion("UsaFacturaProforma"), "SI");
    gUsaCCosto = Is(LeerConfiguracion("USACCOSTO"), "SI");

    gUNegocio = UnidadDeNegocio();

    gUnidadM3 = Trimmed("UNIDADDEMEDIDA_M3");
    gUnidadBL = Trimmed("UNIDADDEMEDIDA_BL");
    gUnidadKG = Trimmed("UNIDADDEMEDIDA_KG");
    gPeriodo = ShortSetting("PERIODO");

    gValidaCodigoBarra =
        !Trimmed("VALIDACODIGOBARRA").empty() && Is(Trimmed("VALIDACODIGOBARRA"), "SI");

    gConfigCargada = true;

    gColorFondo = ColourSetting("CFondo");
    gColorLetra = ColourSetting("CLetra");
    if (gColorFondo == 0) gColorFondo = 0xFFFF00;

    gModuloOT = !Is(Trimmed("ModuloOrdenDeTrabajo"), "NO");

    gVModificaCPrecio = SwitchSetting("V_ModificaCPrecio");
    gCModificaCPrecio = SwitchSetting("C_ModificaCPrecio");
    gMaderera = SwitchSetting("MADERERA");

    gMadTiras = Trimmed("MAD_TIRAS");
    gMadP2 = Trimmed("MAD_P2");
    gMadML = Trimmed("MAD_ML");
    gMadM2 = Trimmed("MAD_M2");
    gMadHojas = Trimmed("MAD_HOJAS");
    gMadMLP2 = Trimmed("MAD_ML_P2");
    gMadM2P2 = Trimmed("MAD_M2_P2");
    gMadMLM2 = Trimmed("MAD_ML_M2");
    gCuentaCtroDist = Trimmed("CuentaCtroDist");
    gMaxDto = u.TextToNumber(Trimmed("MaxDto"));
}

}  // namespace startup
