#pragma once
// The list lookup window's logic without widgets: loading the statement into the list,
// columns and search boxes, positioning, filter searches, acceptance, cancel, new search,
// key commands, quantities, the stock-shortage report and the column-widths file. The Qt
// window maps its controls and events onto it; tests drive it directly.
#include <cstdint>
#include <string>
#include <vector>

#include "clientlib/utility_services.h"
#include "lookup/lib_clscons3.h"
#include "lookup/list_control.h"
#include "lookup/lookup_window_record.h"
#include "platform/adodb/connection.h"

namespace lookup {

// What the logic needs from the window it runs in. Sizes are twips.
class ListLookupView {
  public:
    virtual ~ListLookupView() = default;
    // Width of the text in the window's font.
    virtual double TextWidth(const std::string& text) = 0;
    virtual double ScreenWidth() = 0;
    virtual void RowsReset() {}
    virtual void RowChanged(int /*row*/) {}
    virtual void SelectionChanged() {}
    virtual void BoxesChanged() {}
    virtual void LayoutChanged() {}
    virtual void FocusSearchBox(int /*index*/) {}
    virtual void FocusList() {}
    virtual void HideWindow() {}
};

struct SearchBox {
    std::string tag;  // the field the box searches
    std::string text;
    double left = 0;
    double width = 0;
    bool visible = false;
    bool highlighted = false;  // cyan while it has the focus, white otherwise
};

// Background colours of the search boxes (00BBGGRR).
inline constexpr std::uint32_t kBoxFocusColour = 0xFFFF00;  // red 0, green 255, blue 255
inline constexpr std::uint32_t kBoxColour = 0xFFFFFF;

// Key codes the logic understands (the platform's virtual-key numbers).
namespace vk {
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kUp = 38;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kNumpad0 = 96;
inline constexpr int kNumpad9 = 105;
inline constexpr int kF5 = 116;
inline constexpr int kF12 = 123;
inline constexpr int kShift = 1;  // shift state of Shift alone
}  // namespace vk

class ListLookup {
  public:
    ListLookup(ListLookupView& view, ConfigReader leerConfiguracion);

    LookupWindowRecord& Datos() { return datos_; }
    const LookupWindowRecord& Datos() const { return datos_; }
    const ListControl& Lista() const { return lista_; }
    ListControl& Lista() { return lista_; }
    const std::vector<SearchBox>& Boxes() const { return boxes_; }

    // Folder of the column-widths file (the application folder unless set).
    void SetWidthsFolder(std::string folder) { widthsFolder_ = std::move(folder); }
    std::string WidthsFolder() const;

    // Loading: run on show and again by the filter and new searches. False when the
    // operator chose to leave the load after a failure.
    bool Form_Load();
    void Form_Unload();

    // 1-based index of the first row whose column `Clave` (0 the row text, k sub-item k),
    // trimmed, begins with `QueValor` trimmed; 0 when none.
    std::int32_t Busqueda(int Clave, const std::string& QueValor) const;
    // 1-based position of the first column whose title, trimmed, equals `Columna`
    // trimmed; 0 when none.
    std::int16_t IndiceColumna(const std::string& Columna) const;
    void CalcularAncho();

    // Search-box events. SetSearchText is the operator editing box i (a text change).
    void SetSearchText(int index, const std::string& value);
    void CmbSearch_Change(int index);
    void CmbSearch_GotFocus(int index);
    void CmbSearch_LostFocus(int index);
    void CmbSearch_KeyDown(int index, int keyCode, int shift);

    // List events. ListView1_KeyDown returns true when the key was a command (the list
    // control itself must not act on it as well).
    bool ListView1_KeyDown(int keyCode, int shift);
    void ListView1_DblClick() { CmdAceptar_Click(); }
    void ListView1_ColumnClick(int columnIndex);  // 0-based
    void SelectRow(int row);                      // 0-based, -1 none
    void SetChecked(int row, bool checked);

    // Key preview of the window; sets keyCode to 0 when the key was consumed.
    void Form_KeyDown(int& keyCode, int shift);

    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();

    // Panel offset for the horizontal scroll bar's value: the panel moves left.
    double HScroll1_Change(double value) const { return -value; }

    // Internal state, readable for the window and tests.
    bool EsArticulos() const { return esArticulos_; }
    const std::string& SentenciaOriginal() const { return sentenciaOriginal_; }
    const std::string& TablaConsulta() const { return tablaConsulta_; }
    int IndiceBusqueda() const { return indiceBusqueda_; }
    bool Hidden() const { return hidden_; }

    // Sizes worked out by CalcularAncho.
    double ListWidth() const { return listWidth_; }
    double PanelWidth() const { return panelWidth_; }
    double ScrollWidth() const { return scrollWidth_; }
    long ScrollMax() const { return scrollMax_; }
    double WindowWidth() const { return windowWidth_; }

  private:
    void Encolumnar(const adodb::Recordset& rs);
    bool Leer(adodb::Recordset& rs);  // false: the operator left the load
    void AddRow(adodb::Recordset& rs);
    void CargarAnchos();
    void GrabarAnchos();
    void FiltrarBusqueda(int index);
    void Hide();
    std::string TextOfColumn(const ListRow& row, const std::string& name) const;
    void TypeIntoSearchBox(const std::string& typed);
    void Backspace();
    void QuantityPrompt();
    void ChangeQuantity(double delta);
    ListRow& SelectedRow();
    std::string& QuantityCell(ListRow& row);
    void ReportShortage();

    ListLookupView& view_;
    ConfigReader leerConfiguracion_;
    clientlib::UtilityServices utils_;
    LookupWindowRecord datos_;
    ListControl lista_;
    std::vector<SearchBox> boxes_;
    std::string widthsFolder_;

    bool esArticulos_ = false;
    std::string sentenciaOriginal_;
    std::string sentenciaBase_;
    std::string ordenSentencia_;
    std::string tablaConsulta_;
    int indiceBusqueda_ = 0;
    bool hidden_ = false;

    double listWidth_ = 0;
    double panelWidth_ = 0;
    double scrollWidth_ = 0;
    long scrollMax_ = 0;
    double windowWidth_ = 0;
};

}  // namespace lookup
