#pragma once
// Lib_ClsCons3: the lookup service. Its public properties carry a lookup's inputs and
// outputs; creating it reads the stock-level colours and the lookup switches from the
// configuration table.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "clientlib/utility_services.h"
#include "lookup/lookup_window_record.h"
#include "platform/adodb/variant.h"

namespace lookup {

// Reads the VALOR of a configuration key (a single blank when the key has no row).
using ConfigReader = std::function<std::string(const std::string& clave)>;

// Creates the window a lookup shows, given the configuration reader it may consult.
using WindowFactory = std::function<std::unique_ptr<LookupWindow>(const ConfigReader&)>;

class Lib_ClsCons3 {
  public:
    // Reads "MostrarStockenConsultas", "Stk_Nivel1" to "Stk_Nivel4" and "UsaConsultaLIKE",
    // in that order.
    explicit Lib_ClsCons3(const ConfigReader& leerConfiguracion);

    adodb::Variant StkNivel1;
    adodb::Variant StkNivel2;
    adodb::Variant StkNivel3;
    adodb::Variant StkNivel4;
    std::string MuestraStock;
    Coleccion CmpsDevueltos = std::vector<std::string>{};
    Coleccion Valores = std::vector<std::string>{};
    Coleccion Cantidades;
    bool Checks = false;
    adodb::Variant ValorDevuelto;
    std::string gConnString;
    std::string gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    std::string CampoDevuelto;

    // "UsaConsultaLIKE" was "SI" at creation.
    bool UsaLikeCfg() const { return usaLikeCfg_; }

    // Composes the lookup statement for a table name or a SELECT statement, shows the list
    // or the tree window modally and leaves the operator's choice in ValorDevuelto, Valores
    // and Cantidades. The caller's CmpsDevueltos comes back released; CampoBusqueda and
    // Where may come back changed. Null pointers stand for omitted arguments.
    void ConsultaSearch(std::string SQL, Coleccion* CmpsDevueltos = nullptr,
                        const std::string& Clave = {}, std::string* CampoBusqueda = nullptr,
                        std::string* Where = nullptr, const std::string& SentenciaOpcional = {},
                        bool TreeView = false, const std::string& ValoresDefault = {});

    // The windows the lookups show: the Qt windows unless replaced (tests, scripts).
    void SetListWindowFactory(WindowFactory factory) { listFactory_ = std::move(factory); }
    void SetTreeWindowFactory(WindowFactory factory) { treeFactory_ = std::move(factory); }

  private:
    std::string StatementFromTable(const std::string& tabla, const std::string& opcional,
                                   long limite, std::string& campoBusqueda);
    void ShowTree(const std::string& SQL);
    void ShowList(const std::string& SQL, const Coleccion& cmps, const std::string& Clave,
                  const std::string& campoBusqueda, const std::string& valoresDefault);
    const clientlib::UtilityServices& Utils() const { return utils_; }

    ConfigReader leerConfiguracion_;
    bool usaLikeCfg_ = false;
    clientlib::UtilityServices utils_;
    WindowFactory listFactory_;
    WindowFactory treeFactory_;
};

// The configuration reader the shared service is created with. The start-up installs the
// configuration table reader; without one every key reads as having no row. An empty
// reader restores that.
void SetConfigReader(ConfigReader reader);

// The program's one lookup service, created on first use.
Lib_ClsCons3& ClsCons3();

// Destroys the shared service; the next ClsCons3() creates a fresh one.
void ResetClsCons3();

}  // namespace lookup
