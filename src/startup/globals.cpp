#include "startup/globals.h"

namespace startup {

void ResetGlobals() {
    gColorLetra = 0;
    gColorFondo = 0;
    gSeccionIni.clear();
    gFlatToolbars = 0;
    gParametroAdicional.clear();
    gMenu.clear();
    gUsuarioLogeado.clear();
    gCaja.clear();
    gCadenaDSN.clear();
    gTablaConfig.clear();

    gMostrarStock = false;
    gTituloClientes.clear();
    gTituloProveedores.clear();
    gRutaDocTareas.clear();
    gExigeClaveLike = false;
    gUsaConsultaLike = false;
    gCantidadDecimales.clear();
    gUsaMultiplesMonedas = false;
    gUsaFacturaProforma = false;
    gUsaCCosto = false;
    gUNegocio.clear();
    gUnidadM3.clear();
    gUnidadBL.clear();
    gUnidadKG.clear();
    gPeriodo = 0;
    gValidaCodigoBarra = false;
    gConfigCargada = false;
    gModuloOT = false;
    gVModificaCPrecio = false;
    gCModificaCPrecio = false;
    gMaderera = false;
    gMadTiras.clear();
    gMadP2.clear();
    gMadML.clear();
    gMadM2.clear();
    gMadHojas.clear();
    gMadMLP2.clear();
    gMadM2P2.clear();
    gMadMLM2.clear();
    gCuentaCtroDist.clear();
    gMaxDto = {};
}

}  // namespace startup
