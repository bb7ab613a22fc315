#pragma once
// Module state of the start-up and the global settings record. One copy for the whole
// program: the start-up values are written by IniciarSistema, the settings by
// CargarConfiguracion; the windows read them. Nothing here is persisted.
#include <cstdint>
#include <string>

#include "platform/adodb/variant.h"

namespace startup {

// Start-up values.
inline std::int32_t gColorLetra = 0;  // colours are 00BBGGRR
inline std::int32_t gColorFondo = 0;
inline std::string gSeccionIni;  // INI section of this workstation: "HOST|USER"
inline double gFlatToolbars = 0;
inline std::string gParametroAdicional;
inline std::string gMenu;
inline std::string gUsuarioLogeado;
inline std::string gCaja;
inline std::string gCadenaDSN;

// Configuration table read by LeerConfiguracion.
inline std::string gTablaConfig;

// Global settings loaded from the configuration table.
inline bool gMostrarStock = false;
inline std::string gTituloClientes;
inline std::string gTituloProveedores;
inline std::string gRutaDocTareas;
inline bool gExigeClaveLike = false;
inline bool gUsaConsultaLike = false;
inline std::string gCantidadDecimales;
inline bool gUsaMultiplesMonedas = false;
inline bool gUsaFacturaProforma = false;
inline bool gUsaCCosto = false;
inline std::string gUNegocio;
inline std::string gUnidadM3;
inline std::string gUnidadBL;
inline std::string gUnidadKG;
inline std::int16_t gPeriodo = 0;
inline bool gValidaCodigoBarra = false;
inline bool gConfigCargada = false;
inline bool gModuloOT = false;
inline bool gVModificaCPrecio = false;
inline bool gCModificaCPrecio = false;
inline bool gMaderera = false;
inline std::string gMadTiras;
inline std::string gMadP2;
inline std::string gMadML;
inline std::string gMadM2;
inline std::string gMadHojas;
inline std::string gMadMLP2;
inline std::string gMadM2P2;
inline std::string gMadMLM2;
inline std::string gCuentaCtroDist;
inline adodb::Currency gMaxDto;

// Puts every value above back to its initial state (as at program start).
void ResetGlobals();

}  // namespace startup
