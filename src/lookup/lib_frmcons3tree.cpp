#include "lookup/lib_frmcons3tree.h"

#include "platform/ui/ports.h"

namespace lookup {
namespace {

// Until the tree window exists, a tree lookup says so and returns nothing.
class UnavailableTree : public LookupWindow {
  public:
    LookupWindowRecord& Datos() override { return datos_; }
    void Show() override {
        datos_.ValorDevuelto = std::string();
        datos_.Valores.reset();
        ui::prompter().MsgBox("La consulta en árbol todavía no está disponible.", ui::Buttons::OK,
                              ui::Icon::Information, "Aviso al operador");
    }
    void Unload() override {}

  private:
    LookupWindowRecord datos_;
};

}  // namespace

std::unique_ptr<LookupWindow> MakeTreeWindow(const ConfigReader& /*leerConfiguracion*/) {
    return std::make_unique<UnavailableTree>();
}

}  // namespace lookup
