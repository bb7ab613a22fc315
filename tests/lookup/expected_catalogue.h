#pragma once
// The default lookup catalogue as its bytes must come out, built field by field here so the
// tests do not rely on the code that writes it.
#include <string>

namespace testsupport {

inline std::string BlankFilled(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

inline std::string CatalogueRecord(const std::string& nombre, const std::string& tabla,
                                   const std::string& campos) {
    return BlankFilled(nombre, 100) + BlankFilled(tabla, 100) + BlankFilled(campos, 500) +
           std::string(500, ' ') + "\r\n";
}

inline std::string DefaultCatalogueBytes() {
    return CatalogueRecord("ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|") +
           CatalogueRecord("CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|") +
           CatalogueRecord("PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|") +
           CatalogueRecord("CONTACTOS", "MA_CONTACTOS",
                           "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|") +
           CatalogueRecord("VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|") +
           CatalogueRecord("TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|") +
           CatalogueRecord("TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|") +
           CatalogueRecord("MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|");
}

}  // namespace testsupport
