// Key commands of the list lookup window: acceptance, quantities, typing into the search
// box and the stock-shortage report.
#include "db/db_dll.h"
#include "db/on_error.h"
#include "lookup/list_lookup.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace lookup {
namespace {

constexpr const char* kQuantityTitle = "**Cantidad**";
constexpr std::int32_t kObjectNotSet = 91;
constexpr std::int32_t kInvalidProperty = 380;

std::string Quantity(double value, const char* pattern) {
    return text::FormatNumber(value, pattern);
}

}  // namespace

ListRow& ListLookup::SelectedRow() {
    if (lista_.selected < 0 || lista_.selected >= static_cast<int>(lista_.rows.size())) {
        throw text::RuntimeError(kObjectNotSet, "Object variable or With block variable not set");
    }
    return lista_.rows[static_cast<std::size_t>(lista_.selected)];
}

std::string& ListLookup::QuantityCell(ListRow& row) {
    const int c = IndiceColumna(kQuantityTitle);
    if (c <= 0) throw text::RuntimeError(kInvalidProperty, "Invalid property value");
    if (c == 1) return row.text;
    const auto index = static_cast<std::size_t>(c - 2);
    if (row.subItems.size() <= index) row.subItems.resize(index + 1);
    return row.subItems[index];
}

void ListLookup::QuantityPrompt() {
    ListRow& row = SelectedRow();
    std::string& cell = QuantityCell(row);
    const std::string answer =
        ui::prompter().InputBox("Ingrese la Cantidad del Articulo...", "Carga de Datos", cell);
    const double value = text::LeadingNumber(answer);
    if (value == 0) {
        // No quantity: the row is left as Delete leaves a quantity that reaches 0.
        cell = Quantity(0, "########0.00");
        row.checked = false;
    } else {
        cell = Quantity(value, "########0.00");
        row.checked = true;
    }
    view_.RowChanged(lista_.selected);
}

void ListLookup::ChangeQuantity(double delta) {
    ListRow& row = SelectedRow();
    std::string& cell = QuantityCell(row);
    cell = Quantity(text::LeadingNumber(cell) + delta, "########0.0");
    if (delta > 0) {
        row.checked = true;
    } else if (text::LeadingNumber(cell) <= 0) {
        row.checked = false;
        cell = Quantity(0, "########0.00");
    }
    view_.RowChanged(lista_.selected);
}

void ListLookup::TypeIntoSearchBox(const std::string& typed) {
    if (indiceBusqueda_ < 0 || indiceBusqueda_ >= static_cast<int>(boxes_.size())) return;
    boxes_[static_cast<std::size_t>(indiceBusqueda_)].text += typed;
    view_.BoxesChanged();
    CmbSearch_Change(indiceBusqueda_);
    view_.FocusSearchBox(indiceBusqueda_);
}

void ListLookup::Backspace() {
    if (indiceBusqueda_ < 0 || indiceBusqueda_ >= static_cast<int>(boxes_.size())) return;
    std::string& value = boxes_[static_cast<std::size_t>(indiceBusqueda_)].text;
    if (!value.empty()) {
        // Remove the last character, whole (a UTF-8 letter may take two bytes).
        std::size_t cut = value.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
        value.erase(cut);
    }
    view_.BoxesChanged();
    CmbSearch_Change(indiceBusqueda_);
    view_.FocusSearchBox(indiceBusqueda_);
}

bool ListLookup::ListView1_KeyDown(int keyCode, int shift) {
    bool command = false;
    const auto handle = [&] {
        if (keyCode == vk::kSpace && datos_.CheckBoxes) return;
        if (keyCode == vk::kEnter) {
            command = true;
            CmdAceptar_Click();
        } else if (keyCode == vk::kInsert && shift == vk::kShift && datos_.UsaCantidades) {
            command = true;
            QuantityPrompt();
        } else if (keyCode == vk::kInsert && shift == 0 && datos_.UsaCantidades) {
            command = true;
            ChangeQuantity(1);
        } else if (keyCode == vk::kDelete && shift == 0 && datos_.UsaCantidades) {
            command = true;
            ChangeQuantity(-1);
        } else if (keyCode >= 47 && keyCode <= 93) {
            command = true;
            TypeIntoSearchBox(std::string(1, static_cast<char>(keyCode)));
        } else if (keyCode >= vk::kNumpad0 && keyCode <= vk::kNumpad9) {
            command = true;
            TypeIntoSearchBox(std::string(1, static_cast<char>('0' + keyCode - vk::kNumpad0)));
        } else if (keyCode == vk::kSpace) {
            command = true;
            TypeIntoSearchBox(" ");
        } else if (keyCode == vk::kBackspace) {
            command = true;
            Backspace();
        }
    };
    db::detail::RunStep(handle, [this](const text::RuntimeError& e) {
        return db::detail::AskReportError(utils_, e, "ListView1_KeyDown");
    });
    return command;
}

void ListLookup::Form_KeyDown(int& keyCode, int /*shift*/) {
    if (keyCode != vk::kF12 || !esArticulos_) return;
    keyCode = 0;
    // Without a selected row there is no article to report.
    if (lista_.selected < 0 || lista_.selected >= static_cast<int>(lista_.rows.size())) return;
    ReportShortage();
}

void ListLookup::ReportShortage() {
    const ListRow& row = lista_.rows[static_cast<std::size_t>(lista_.selected)];
    const std::string codigo = TextOfColumn(row, "idarticulo");
    const std::string descripcion = TextOfColumn(row, "Descripcion");
    const int answer =
        ui::prompter().MsgBox("Desea informar el articulo " + text::Trim(codigo) + " " +
                                  text::Trim(descripcion) + "\r\ncomo un faltante de stock?",
                              ui::Buttons::YesNo, ui::Icon::Question, "Atención!");
    if (answer != ui::kYes) return;
    db::DB_Dll& database = db::Db();
    const auto quoted = [](const std::string& value) {
        return text::ReplaceAllExact(value, "'", "''");
    };
    std::string sql =
        "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('" +
        text::FormatGeneral(ui::clock().Now()) + "','" + quoted(utils_.FixedWidth(codigo, 25)) +
        "','" + quoted(text::Trim(descripcion)) + "','" + quoted(database.gUsuario) + "')";
    long affected = 0;
    database.EjecutaConsultaSQL(sql, affected);
}

}  // namespace lookup
