#pragma once
// Lib_ClsCons3: the lookup service. Its public properties carry a lookup's inputs and
// outputs; creating it reads the stock-level colours and the lookup switches from the
// configuration table.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/variant.h"

namespace lookup {

// A collection of texts that may also be none at all (released).
using Coleccion = std::optional<std::vector<std::string>>;

// Reads the VALOR of a configuration key (a single blank when the key has no row).
using ConfigReader = std::function<std::string(const std::string& clave)>;

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

  private:
    bool usaLikeCfg_ = false;
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
