// Loading, reading the rows, positioning, filter searches, acceptance, cancel and new search
// of the list lookup window.
#include "lookup/list_lookup.h"

#include "db/db_dll.h"
#include "db/on_error.h"
#include "lookup/stock_colour.h"
#include "platform/adodb/error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace lookup {
namespace {

// Runs the steps of a procedure whose failures go to ReportError with its label.
class Procedure {
  public:
    Procedure(const clientlib::UtilityServices& utils, std::string label)
        : utils_(utils), label_(std::move(label)) {}

    // False once the operator has chosen to leave; later steps then do not run.
    template <class Operation>
    bool Step(Operation&& operation) {
        if (left_) return false;
        left_ = !db::detail::RunStep(std::forward<Operation>(operation),
                                     [this](const text::RuntimeError& e) {
                                         return db::detail::AskReportError(utils_, e, label_);
                                     });
        return !left_;
    }
    bool Left() const { return left_; }
    void Leave() { left_ = true; }

  private:
    const clientlib::UtilityServices& utils_;
    std::string label_;
    bool left_ = false;
};

// Runs a step whose failure is ignored.
template <class Operation>
void Quietly(Operation&& operation) {
    try {
        operation();
    } catch (const text::RuntimeError&) {
    }
}

std::string DoubleQuotes(const std::string& value) {
    return text::ReplaceAllExact(value, "'", "''");
}

}  // namespace

ListLookup::ListLookup(ListLookupView& view, ConfigReader leerConfiguracion)
    : view_(view), leerConfiguracion_(std::move(leerConfiguracion)) {
    boxes_.resize(1);
    boxes_[0].visible = true;
}

bool ListLookup::Form_Load() {
    Procedure load(utils_, "FORM_LOAD");
    adodb::Recordset rs;
    load.Step([&] { esArticulos_ = text::Contains(datos_.SQL, "articulos"); });
    load.Step([&] {
        datos_.Valores = std::vector<std::string>{};
        datos_.Cantidades = std::vector<std::string>{};
    });
    load.Step([&] {
        lista_.rows.clear();
        lista_.selected = -1;
        view_.RowsReset();
    });
    load.Step([&] { datos_.SQL += " "; });
    load.Step([&] {
        const int from = text::InStr(datos_.SQL, "from");
        const int space = text::InStr(datos_.SQL, " ", from + 5);
        const std::string word = space > 0 ? text::Mid(datos_.SQL, from + 4, space - from - 4)
                                           : text::Mid(datos_.SQL, from + 4);
        tablaConsulta_ = text::Trim(word);
    });
    load.Step([&] {
        if (sentenciaOriginal_.empty()) sentenciaOriginal_ = datos_.SQL;
        sentenciaBase_ = datos_.SQL;
    });
    load.Step([&] { db::Db().AbrirRecordset(datos_.SQL, rs, nullptr, 0, 1, -1, true); });
    load.Step([&] { lista_.checkBoxes = datos_.CheckBoxes; });
    load.Step([&] { Encolumnar(rs); });
    load.Step([&] {
        if (!Leer(rs)) load.Leave();
    });
    load.Step([&] {
        if (datos_.OrdenarPorLwv) {
            lista_.sorted = true;
            lista_.Sort();
        }
        view_.RowsReset();
    });
    load.Step([&] {
        if (!text::Trim(datos_.FiltroInicial).empty()) {
            boxes_[0].text = datos_.FiltroInicial;
            view_.BoxesChanged();
            CmbSearch_Change(0);
        }
    });
    load.Step([&] { db::Db().CierraRecordset(rs); });
    load.Step([&] {
        CargarAnchos();
        CalcularAncho();
    });
    return !load.Left();
}

bool ListLookup::Leer(adodb::Recordset& rs) {
    if (rs.State() == adodb::kStateClosed) {
        throw text::RuntimeError(adodb::code::kOperationNotAllowedClosed,
                                 "Operation is not allowed when the object is closed.");
    }
    if (rs.BOF()) return true;
    Procedure read(utils_, "FORM_LOAD");
    lista_.rows.reserve(static_cast<std::size_t>(std::max(rs.RecordCount(), 0L)));
    while (!rs.EOF()) {
        if (!read.Step([&] { AddRow(rs); })) return false;
        if (!read.Step([&] { rs.MoveNext(); })) return false;
    }
    return true;
}

void ListLookup::AddRow(adodb::Recordset& rs) {
    std::optional<std::uint32_t> colour;
    if (esArticulos_) {
        try {
            const adodb::Currency reorder = NumberOf(utils_, rs.Fields("PUNTOPEDIDO").Value());
            const adodb::Currency stock = NumberOf(utils_, rs.Fields("Stock").Value());
            const adodb::Variant& level =
                StockLevelColour(reorder, stock, datos_.StkNivel1, datos_.StkNivel2,
                                 datos_.StkNivel3, datos_.StkNivel4);
            colour = ColourNumber(level);
        } catch (const text::RuntimeError& e) {
            if (e.Number() != adodb::code::kItemNotFound) throw;
        }
    }
    ListRow row;
    row.text = text::Trim(utils_.NullToEmpty(rs.Fields(0).Value()).ToString());
    if (datos_.CheckBoxes) {
        try {
            const adodb::Variant value = rs.Fields(datos_.CampoDevuelto).Value();
            // An empty value is inside every text: it ticks nothing.
            const std::string v = value.IsNull() ? std::string() : text::Trim(value.ToString());
            if (!v.empty() && text::InStr(datos_.ValoresDefault, v) > 0) row.checked = true;
        } catch (const text::RuntimeError& e) {
            if (e.Number() != adodb::code::kItemNotFound) throw;
        }
    }
    const int count = rs.FieldCount();
    row.subItems.reserve(static_cast<std::size_t>(std::max(count - 1, 0)));
    for (int i = 1; i < count; ++i) {
        row.subItems.push_back(
            utils_.FixedWidth(utils_.NullToEmpty(rs.Fields(i).Value()).ToString()));
    }
    if (text::EqualsNoCase(datos_.MuestraStock, "SI") && esArticulos_) row.colour = colour;
    lista_.rows.push_back(std::move(row));
}

std::int32_t ListLookup::Busqueda(int Clave, const std::string& QueValor) const {
    const std::string wanted = text::Trim(QueValor);
    for (std::size_t i = 0; i < lista_.rows.size(); ++i) {
        if (text::StartsWith(text::Trim(ListControl::KeyText(lista_.rows[i], Clave)), wanted)) {
            return static_cast<std::int32_t>(i + 1);
        }
    }
    return 0;
}

void ListLookup::SetSearchText(int index, const std::string& value) {
    if (index < 0 || index >= static_cast<int>(boxes_.size())) return;
    boxes_[static_cast<std::size_t>(index)].text = value;
    CmbSearch_Change(index);
}

void ListLookup::CmbSearch_Change(int index) {
    Quietly([&] {
        const std::string& value = boxes_.at(static_cast<std::size_t>(index)).text;
        const std::int32_t found = Busqueda(index, text::Trim(value));
        if (found != 0) SelectRow(found - 1);
    });
}

void ListLookup::SelectRow(int row) {
    lista_.selected = row >= 0 && row < static_cast<int>(lista_.rows.size()) ? row : -1;
    view_.SelectionChanged();
}

void ListLookup::SetChecked(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(lista_.rows.size())) return;
    lista_.rows[static_cast<std::size_t>(row)].checked = checked;
    view_.RowChanged(row);
}

void ListLookup::CmbSearch_GotFocus(int index) {
    indiceBusqueda_ = index;
    Quietly([&] { boxes_.at(static_cast<std::size_t>(index)).highlighted = true; });
    view_.BoxesChanged();
}

void ListLookup::CmbSearch_LostFocus(int index) {
    Quietly([&] { boxes_.at(static_cast<std::size_t>(index)).highlighted = false; });
    view_.BoxesChanged();
}

void ListLookup::CmbSearch_KeyDown(int index, int keyCode, int /*shift*/) {
    if (keyCode == vk::kF5) {
        FiltrarBusqueda(index);
        return;
    }
    if (keyCode == vk::kDown || keyCode == vk::kUp || keyCode == vk::kPageDown ||
        keyCode == vk::kPageUp) {
        ListView1_KeyDown(keyCode, 0);
        view_.FocusList();
    }
}

void ListLookup::FiltrarBusqueda(int index) {
    if (index < 0 || index >= static_cast<int>(boxes_.size())) return;
    SearchBox& box = boxes_[static_cast<std::size_t>(index)];
    std::string prefijo;
    std::string union_;
    Quietly([&] { ordenSentencia_.clear(); });
    Quietly([&] {
        const int orderBy = text::InStr(datos_.SQL, "order by");
        if (orderBy > 0) {
            ordenSentencia_ = text::Mid(datos_.SQL, orderBy);
            sentenciaBase_ = text::Left(datos_.SQL, orderBy - 1);
        }
    });
    Quietly([&] {
        if (text::Contains(sentenciaBase_, "stk_ma_articulos.")) prefijo = "stk_ma_articulos.";
        if (text::Contains(sentenciaBase_, "v_ma_articulos.")) prefijo = "v_ma_articulos.";
    });
    Quietly([&] { union_ = text::Contains(datos_.SQL, "where") ? " and " : " where "; });
    Quietly([&] {
        if (datos_.CfgUsaConsultaLIKE) {
            datos_.SQL = sentenciaBase_ + union_ + prefijo + box.tag + " like '%" +
                         DoubleQuotes(box.text) + "%' " + ordenSentencia_;
        } else {
            box.text = utils_.ReplaceAll(box.text, "*", "%");
            view_.BoxesChanged();
            CmbSearch_Change(index);
            datos_.SQL = sentenciaBase_ + union_ + prefijo + box.tag + " like '" +
                         DoubleQuotes(box.text) + "%' " + ordenSentencia_;
        }
    });
    Quietly([&] {
        box.text.clear();
        view_.BoxesChanged();
        sentenciaBase_ = datos_.SQL;
        Form_Load();
    });
}

std::string ListLookup::TextOfColumn(const ListRow& row, const std::string& name) const {
    const int c = IndiceColumna(name);
    // A name that matches no column returns empty text, never another column's value.
    return c > 0 ? ListControl::ColumnText(row, c) : std::string();
}

void ListLookup::CmdAceptar_Click() {
    Procedure accept(utils_, "HScroll1_Change");
    if (datos_.CheckBoxes) {
        accept.Step([&] {
            if (datos_.CampoDevuelto.empty() && !lista_.columns.empty()) {
                datos_.CampoDevuelto = lista_.columns.front().title;
            }
        });
        accept.Step([&] {
            if (!datos_.Valores) datos_.Valores = std::vector<std::string>{};
            for (const ListRow& row : lista_.rows) {
                if (row.checked) datos_.Valores->push_back(TextOfColumn(row, datos_.CampoDevuelto));
            }
        });
    } else if (lista_.selected >= 0) {
        const ListRow& row = lista_.rows[static_cast<std::size_t>(lista_.selected)];
        accept.Step([&] {
            if (!datos_.CmpsDevueltos) return;
            if (!datos_.Valores) datos_.Valores = std::vector<std::string>{};
            for (const std::string& name : *datos_.CmpsDevueltos) {
                datos_.Valores->push_back(TextOfColumn(row, name));
            }
        });
        accept.Step([&] { datos_.ValorDevuelto = TextOfColumn(row, datos_.CampoDevuelto); });
    }
    if (!accept.Left()) Hide();
}

void ListLookup::CmdCancelar_Click() {
    Quietly([&] {
        datos_.ValorDevuelto = std::string();
        datos_.CmpsDevueltos.reset();
        datos_.Valores.reset();
    });
    Hide();
}

void ListLookup::CmdNueva_Click() {
    Quietly([&] {
        datos_.SQL = sentenciaOriginal_;
        Form_Load();
        view_.FocusSearchBox(0);
    });
}

void ListLookup::ListView1_ColumnClick(int columnIndex) {
    Quietly([&] {
        lista_.sorted = true;
        lista_.sortKey = columnIndex;
        lista_.descending = !lista_.descending;
        lista_.Sort();
        view_.RowsReset();
    });
}

void ListLookup::Hide() {
    hidden_ = true;
    view_.HideWindow();
}

void ListLookup::Form_Unload() {
    try {
        GrabarAnchos();
        lista_.rows.clear();
        lista_.selected = -1;
        view_.RowsReset();
    } catch (const text::RuntimeError& e) {
        ui::prompter().MsgBox(e.Description(), ui::Buttons::OK, ui::Icon::Critical,
                              "Aviso al Operador");
    }
}

}  // namespace lookup
