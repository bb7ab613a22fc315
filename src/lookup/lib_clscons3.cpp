#include "lookup/lib_clscons3.h"

#include <memory>

#include "platform/text/strings.h"

namespace lookup {
namespace {

// A stock-level colour: empty text becomes the number 0, anything else is kept as read.
adodb::Variant StockLevel(const std::string& value) {
    if (value.empty()) return adodb::Variant(std::int16_t{0});
    return adodb::Variant(value);
}

struct Shared {
    ConfigReader reader;
    std::unique_ptr<Lib_ClsCons3> instance;
};

Shared& State() {
    static Shared state;
    return state;
}

std::string NoConfiguration(const std::string& /*clave*/) {
    return " ";
}

}  // namespace

Lib_ClsCons3::Lib_ClsCons3(const ConfigReader& leerConfiguracion)
    : leerConfiguracion_(leerConfiguracion) {
    MuestraStock = leerConfiguracion("MostrarStockenConsultas");
    StkNivel1 = StockLevel(leerConfiguracion("Stk_Nivel1"));
    StkNivel2 = StockLevel(leerConfiguracion("Stk_Nivel2"));
    StkNivel3 = StockLevel(leerConfiguracion("Stk_Nivel3"));
    StkNivel4 = StockLevel(leerConfiguracion("Stk_Nivel4"));
    usaLikeCfg_ = text::EqualsNoCase(leerConfiguracion("UsaConsultaLIKE"), "SI");
}

void SetConfigReader(ConfigReader reader) {
    State().reader = std::move(reader);
}

Lib_ClsCons3& ClsCons3() {
    Shared& st = State();
    if (!st.instance) {
        st.instance =
            std::make_unique<Lib_ClsCons3>(st.reader ? st.reader : ConfigReader(&NoConfiguration));
    }
    return *st.instance;
}

void ResetClsCons3() {
    State().instance.reset();
}

}  // namespace lookup
