#include "lookup/crear_mascaras.h"

#include "lookup/lib_clscons3.h"

namespace lookup {

const std::vector<MascaraConsulta>& DefaultMascaras() {
    static const std::vector<MascaraConsulta> entries = {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", ""},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|", ""},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|", ""},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|", ""},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|", ""},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|", ""},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|", ""},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|", ""},
    };
    return entries;
}

void CrearMascarasConsultas() {
    AppendMascaras(ClsCons3().gRutaMascaraConsultas, DefaultMascaras());
}

}  // namespace lookup
