#pragma once
// The inputs and outputs that the lookup service and its two windows exchange: the service
// sets the inputs, shows a window modally and reads the outputs after the window has hidden
// itself.
#include <optional>
#include <string>
#include <vector>

#include "platform/adodb/variant.h"

namespace lookup {

// A collection of texts that may also be none at all (released).
using Coleccion = std::optional<std::vector<std::string>>;

struct LookupWindowRecord {
    adodb::Variant StkNivel1;
    adodb::Variant StkNivel2;
    adodb::Variant StkNivel3;
    adodb::Variant StkNivel4;
    std::string MuestraStock;
    std::string SQL;
    std::string CampoDevuelto;
    Coleccion CmpsDevueltos;
    bool CheckBoxes = false;
    std::string gConnString;
    adodb::Variant ValorDevuelto;
    std::string FiltroInicial;
    std::string CampoBusqueda;
    bool OrdenarPorLwv = false;
    Coleccion Valores;
    Coleccion Cantidades;
    bool UsaCantidades = false;
    std::string ValoresDefault;
    bool CfgUsaConsultaLIKE = false;
    bool GrabarCfg = false;
};

// A lookup window as the service sees it: its record, a modal show that returns once the
// window has hidden itself, and the unload after the outputs were read.
class LookupWindow {
  public:
    virtual ~LookupWindow() = default;
    virtual LookupWindowRecord& Datos() = 0;
    virtual void Show() = 0;
    virtual void Unload() = 0;
};

}  // namespace lookup
