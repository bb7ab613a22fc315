// Columns, search boxes, sizes and the column-widths file of the list lookup window.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "clientlib/settings.h"
#include "lookup/list_lookup.h"
#include "lookup/widths_file.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace lookup {
namespace {

constexpr long kMaxFieldLetters = 60;
constexpr double kScrollLimit = 32700;

bool IsPriceField(const std::string& name, int& digit) {
    if (name.size() != 7 || !text::StartsWith(name, "PRECIO")) return false;
    const char d = name.back();
    if (d < '1' || d > '8') return false;
    digit = d - '0';
    return true;
}

}  // namespace

std::string ListLookup::WidthsFolder() const {
    if (!widthsFolder_.empty()) return widthsFolder_;
    const std::string& folder = clientlib::ApplicationContext::ApplicationFolder();
    return utils_.WithTrailingSeparator(folder.empty() ? clientlib::ProgramFolder() : folder);
}

void ListLookup::Encolumnar(const adodb::Recordset& rs) {
    try {
        lista_.columns.clear();
        const bool articulos = text::Contains(datos_.SQL, "V_MA_ARTICULOS") ||
                               text::Contains(datos_.SQL, "STK_MA_ARTICULOS");
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const adodb::Field field = rs.Fields(i);
            const long letters = std::min(field.DefinedSize(), kMaxFieldLetters);
            if (static_cast<std::size_t>(i) >= boxes_.size())
                boxes_.resize(static_cast<std::size_t>(i) + 1);
            SearchBox& box = boxes_[static_cast<std::size_t>(i)];
            box.tag = field.Name();
            box.visible = true;
            std::string title = field.Name();
            int digit = 0;
            if (articulos && IsPriceField(title, digit)) {
                title = leerConfiguracion_("NOM_PCLASE" + std::to_string(digit));
            }
            lista_.columns.push_back(
                {title, view_.TextWidth(
                            std::string(static_cast<std::size_t>(std::max(letters, 0L)), 'X'))});
        }
    } catch (const text::RuntimeError& e) {
        ui::prompter().MsgBox(e.Description(), ui::Buttons::OK, ui::Icon::None, "");
    }
    view_.BoxesChanged();
    view_.LayoutChanged();
}

std::int16_t ListLookup::IndiceColumna(const std::string& Columna) const {
    const std::string wanted = text::Trim(Columna);
    for (std::size_t c = 0; c < lista_.columns.size(); ++c) {
        if (text::EqualsNoCase(text::Trim(lista_.columns[c].title), wanted)) {
            return static_cast<std::int16_t>(c + 1);
        }
    }
    return 0;
}

void ListLookup::CalcularAncho() {
    double total = 0;
    for (std::size_t c = 0; c < lista_.columns.size(); ++c) {
        if (c < boxes_.size()) {
            boxes_[c].left = lista_.ColumnLeft(static_cast<int>(c) + 1);
            boxes_[c].width = lista_.columns[c].width - 50;
        }
        total += lista_.columns[c].width;
    }
    listWidth_ = total + 360;
    panelWidth_ = std::nearbyint(total) + 360;  // halves to even
    scrollWidth_ = total;
    scrollMax_ = panelWidth_ <= kScrollLimit
                     ? static_cast<long>(std::nearbyint((panelWidth_ + 480) * 0.6))
                     : static_cast<long>(kScrollLimit);
    windowWidth_ =
        listWidth_ + 360 < view_.ScreenWidth() ? listWidth_ + 280 : view_.ScreenWidth() - 480;
    view_.BoxesChanged();
    view_.LayoutChanged();
}

void ListLookup::CargarAnchos() {
    try {
        const std::vector<WidthsRecord> records =
            ReadWidthsFile((std::filesystem::path(WidthsFolder()) / kWidthsFile).string());
        if (text::EqualsNoCase(tablaConsulta_, "Stk_ma_articulos")) {
            tablaConsulta_ = "VT_MA_ARTICULOS";
        }
        for (const WidthsRecord& record : records) {
            if (!text::EqualsNoCase(record.key, tablaConsulta_)) continue;
            std::string rest = record.widths;
            for (std::size_t c = 0; c < lista_.columns.size(); ++c) {
                const std::size_t bar = rest.find('|');
                // A record with fewer widths than columns ends the reading here.
                if (bar == std::string::npos) return;
                lista_.columns[c].width = utils_.TextToNumber(rest.substr(0, bar)).ToDouble();
                if (c < boxes_.size()) {
                    boxes_[c].left = lista_.ColumnLeft(static_cast<int>(c) + 1);
                    boxes_[c].width = lista_.columns[c].width;
                }
                rest.erase(0, bar + 1);
            }
        }
    } catch (const text::RuntimeError&) {
    }
}

void ListLookup::GrabarAnchos() {
    if (!datos_.GrabarCfg) return;
    std::vector<double> widths;
    for (const ListColumn& column : lista_.columns) widths.push_back(column.width);
    SaveWidthsRecord(WidthsFolder(), {tablaConsulta_, WidthsText(widths)});
}

}  // namespace lookup
