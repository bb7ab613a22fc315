// The lookup service's one operation: compose the statement, show a window, collect the
// operator's choice.
#include <filesystem>

#include "db/db_dll.h"
#include "lookup/lib_clscons3.h"
#include "lookup/lib_frmcons3.h"
#include "lookup/lib_frmcons3tree.h"
#include "lookup/mascara_consulta.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace lookup {
namespace {

constexpr long kDefaultRowLimit = 1000;

// Runs one step of the lookup; a step that fails is skipped and the next one runs.
template <class Operation>
void Step(Operation&& step) {
    try {
        step();
    } catch (const text::RuntimeError&) {
    }
}

bool IsAnyOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        if (text::EqualsNoCase(name, n)) return true;
    }
    return false;
}

struct CatalogueMatch {
    bool found = false;
    MascaraConsulta record;
};

CatalogueMatch FindInCatalogue(const std::string& path, const std::string& tabla,
                               const clientlib::UtilityServices& utils) {
    MascaraReader reader(path);
    const std::string wanted = text::Trim(tabla);
    while (std::optional<MascaraConsulta> record = reader.Next()) {
        if (text::EqualsNoCase(text::Trim(utils.StripChars(record->Tabla, "")), wanted)) {
            return {true, *record};
        }
    }
    return {};
}

}  // namespace

std::string Lib_ClsCons3::StatementFromTable(const std::string& tabla, const std::string& opcional,
                                             long limite, std::string& campoBusqueda) {
    if (!opcional.empty()) return opcional;
    std::string lista;
    Step([&] {
        db::DB_Dll& database = db::Db();
        adodb::Recordset rs;
        database.AbrirRecordset("select top 1 * from " + tabla, rs, nullptr, 0, 1, -1, true);
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const std::string name = rs.Fields(i).Name();
            if (IsAnyOf(name, {"ID", "FECHAHORA_MODIFICACION", "FECHAHORA_GRABACION"})) continue;
            if (IsAnyOf(name, {"DESCRIPCION", "NOMBRE", "DETALLE"}) || lista.empty()) {
                campoBusqueda = name;
            }
            lista = name + "," + lista;
        }
        database.CierraRecordset(rs);
    });
    lista = lista.empty() ? " * " : lista.substr(0, lista.size() - 1);
    std::string sql = "SELECT TOP " + std::to_string(limite) + " " + lista + " FROM " + tabla;
    // A table whose columns could not be read has no search field to sort by.
    if (!campoBusqueda.empty()) sql += " ORDER BY " + campoBusqueda;
    return sql;
}

void Lib_ClsCons3::ConsultaSearch(std::string SQL, Coleccion* CmpsDevueltos,
                                  const std::string& Clave, std::string* CampoBusqueda,
                                  std::string* Where, const std::string& SentenciaOpcional,
                                  bool TreeView, const std::string& ValoresDefault) {
    std::string noField;
    std::string noWhere;
    std::string& campoBusqueda = CampoBusqueda != nullptr ? *CampoBusqueda : noField;
    std::string& where = Where != nullptr ? *Where : noWhere;
    bool showWindow = true;

    Step([&] {
        const std::string trimmed = text::Trim(where);
        if (trimmed.size() > 1 && trimmed.front() != '(') where = " (" + where + ") ";
    });
    long limite = kDefaultRowLimit;
    Step([&] {
        const double value = text::LeadingNumber(leerConfiguracion_("TopConsArt"));
        // A limit below one row would make the statement refuse to run.
        if (value >= 1 && value < 2147483647.0) limite = static_cast<long>(value);
    });

    Step([&] {
        if (text::Contains(SQL, "SELECT") || !gUsarMascarasConsultas) {
            if (!text::Contains(SQL, "SELECT")) {
                SQL = StatementFromTable(SQL, SentenciaOpcional, limite, campoBusqueda);
            } else if (text::Contains(SQL, "V_MA_ARTICULOS")) {
                SQL = Utils().ReplaceName(SQL, "V_MA_ARTICULOS", "VT_MA_ARTICULOS");
            }
            return;
        }
        std::error_code ec;
        if (!std::filesystem::exists(gRutaMascaraConsultas, ec)) return;
        const CatalogueMatch match = FindInCatalogue(gRutaMascaraConsultas, SQL, Utils());
        if (!match.found) {
            SQL = StatementFromTable(SQL, SentenciaOpcional, limite, campoBusqueda);
            return;
        }
        std::string tabla = text::Trim(Utils().StripChars(match.record.Tabla, ""));
        std::string campos = text::Trim(Utils().ReplaceAll(match.record.Campos, "|", ","));
        if (!campos.empty() && campos.front() == ',') campos.erase(0, 1);
        if (!campos.empty() && campos.back() == ',') campos.pop_back();
        if (text::Trim(campos).empty()) campos = "*";
        if (campoBusqueda.empty()) {
            const std::size_t comma = campos.find(',');
            if (comma == std::string::npos) {
                ui::prompter().MsgBox("Debe configurar la consulta para esta tabla",
                                      ui::Buttons::OK, ui::Icon::Information, "Aviso al operador");
                showWindow = false;
                return;
            }
            campoBusqueda = campos.substr(0, comma);
        }
        std::string filtro = text::Trim(Utils().StripChars(match.record.Filtro, ""));
        if (filtro.empty() && !text::Trim(where).empty()) filtro = where;
        std::string porDefecto;
        if (IsAnyOf(tabla, {"VT_PROVEEDORES", "VT_CLIENTES"})) {
            porDefecto = "Dada_De_Baja = 0";
        } else if (text::EqualsNoCase(tabla, "V_MA_ARTICULOS")) {
            tabla = "VT_MA_ARTICULOS";
            porDefecto = "SUSPENDIDO = 0";
        }
        if (text::Trim(filtro).empty()) filtro = porDefecto;
        SQL = "SELECT TOP " + std::to_string(limite) + " " + campos + " FROM " + tabla;
        if (!text::Trim(filtro).empty()) SQL += " WHERE " + filtro;
        if (!campoBusqueda.empty()) SQL += " ORDER BY " + campoBusqueda;
    });

    if (showWindow) {
        if (TreeView) {
            ShowTree(SQL);
        } else {
            ShowList(SQL, CmpsDevueltos != nullptr ? *CmpsDevueltos : Coleccion{}, Clave,
                     campoBusqueda, ValoresDefault);
        }
    }

    CampoDevuelto.clear();
    if (CmpsDevueltos != nullptr) CmpsDevueltos->reset();
}

void Lib_ClsCons3::ShowTree(const std::string& SQL) {
    std::unique_ptr<LookupWindow> window =
        treeFactory_ ? treeFactory_(leerConfiguracion_) : MakeTreeWindow(leerConfiguracion_);
    LookupWindowRecord& datos = window->Datos();
    datos.SQL = SQL;
    datos.CampoDevuelto = CampoDevuelto;
    datos.CheckBoxes = Checks;
    Valores.reset();
    Step([&] { window->Show(); });
    ValorDevuelto = datos.ValorDevuelto;
    Valores = datos.Valores;
    Checks = false;
    Step([&] { window->Unload(); });
}

void Lib_ClsCons3::ShowList(const std::string& SQL, const Coleccion& cmps, const std::string& Clave,
                            const std::string& campoBusqueda, const std::string& valoresDefault) {
    std::unique_ptr<LookupWindow> window =
        listFactory_ ? listFactory_(leerConfiguracion_) : MakeListWindow(leerConfiguracion_);
    LookupWindowRecord& datos = window->Datos();
    datos.StkNivel1 = StkNivel1;
    datos.StkNivel2 = StkNivel2;
    datos.StkNivel3 = StkNivel3;
    datos.StkNivel4 = StkNivel4;
    datos.MuestraStock = MuestraStock;
    datos.CfgUsaConsultaLIKE = usaLikeCfg_;
    datos.OrdenarPorLwv = !text::Contains(SQL, "ORDER BY");
    datos.FiltroInicial = Clave;
    datos.CampoBusqueda = campoBusqueda;
    datos.SQL = SQL;
    datos.gConnString = gConnString;
    datos.CampoDevuelto = CampoDevuelto;
    datos.CheckBoxes = Checks;
    datos.UsaCantidades = UsaCantidades;
    datos.ValoresDefault = valoresDefault;
    Valores.reset();
    Cantidades.reset();
    datos.CmpsDevueltos = cmps;
    datos.Valores.reset();
    datos.Cantidades.reset();
    Step([&] { window->Show(); });
    Checks = false;
    Valores = datos.Valores;
    Cantidades = datos.Cantidades;
    ValorDevuelto = datos.ValorDevuelto;
    datos.CampoDevuelto.clear();
    datos.Valores.reset();
    datos.Cantidades.reset();
    Step([&] { window->Unload(); });
}

}  // namespace lookup
