#include "lookup/tree_lookup.h"

#include <algorithm>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "platform/text/strings.h"
#include "platform/ui/ports.h"

namespace lookup {
namespace {

constexpr std::int32_t kKeyNotUnique = 35602;

template <class Operation>
void Quietly(Operation&& operation) {
    try {
        operation();
    } catch (const text::RuntimeError&) {
    }
}

}  // namespace

void TreeLookup::Form_Load() {
    const auto ask = [this](const text::RuntimeError& e) {
        return db::detail::AskReportError(utils_, e, "FORM_LOAD");
    };
    if (!db::detail::RunStep([&] { datos_.Valores = std::vector<std::string>{}; }, ask)) return;
    if (!db::detail::RunStep(
            [&] {
                nodes_.clear();
                selected_ = -1;
                view_.TreeReset();
            },
            ask)) {
        return;
    }
    db::detail::RunStep([&] { ArmarTreeVAutomatico(); }, ask);
}

void TreeLookup::AddNode(int relative, bool asChild, const std::string& key,
                         const std::string& text) {
    const int parent = asChild ? relative : nodes_[static_cast<std::size_t>(relative)].parent;
    if (parent < 0 || !keys_.insert(text::ToUpper(key)).second) {
        throw text::RuntimeError(kKeyNotUnique, "Key is not unique in collection");
    }
    TreeNode node;
    node.key = key;
    node.text = text;
    node.parent = parent;
    const int index = static_cast<int>(nodes_.size());
    std::vector<int>& siblings = nodes_[static_cast<std::size_t>(parent)].children;
    if (asChild) {
        siblings.push_back(index);
    } else {
        const auto at = std::find(siblings.begin(), siblings.end(), relative);
        siblings.insert(at == siblings.end() ? at : at + 1, index);
    }
    nodes_.push_back(std::move(node));
}

void TreeLookup::ArmarTreeVAutomatico() {
    const auto ask = [this](const text::RuntimeError& e) {
        return db::detail::AskReportError(utils_, e, "ArmarTreeVAutomatico");
    };
    std::vector<std::vector<adodb::Variant>> rows;
    adodb::Recordset rs;
    bool empty = false;
    const bool built = [&] {
        if (!db::detail::RunStep(
                [&] {
                    nodes_.clear();
                    keys_ = {"A"};
                    selected_ = -1;
                    nodes_.push_back({"A", "Consulta...", -1, {}, false});
                },
                ask)) {
            return false;
        }
        db::DB_Dll& database = db::Db();
        if (!db::detail::RunStep(
                [&] { database.AbrirRecordset(datos_.SQL, rs, &database.gCnn, 2, 1, -1, true); },
                ask)) {
            return false;
        }
        if (!db::detail::RunStep([&] { empty = rs.BOF() && rs.EOF(); }, ask)) return false;
        if (empty) return true;
        if (!db::detail::RunStep(
                [&] {
                    rs.MoveFirst();
                    rs.MoveLast();
                    rs.MoveFirst();
                    rows = rs.GetRows();
                },
                ask)) {
            return false;
        }
        const std::size_t count = rows.empty() ? 0 : rows[0].size();
        int current = 0;
        for (std::size_t r = 0; r < count;) {
            std::string key;
            std::string text;
            int d = 0;
            if (!db::detail::RunStep(
                    [&] {
                        const std::string code = utils_.NullToEmpty(rows.at(0).at(r)).ToString();
                        const std::string description =
                            utils_.NullToEmpty(rows.at(1).at(r)).ToString();
                        key = "A" + code;
                        text = code + " - " + description;
                        d = static_cast<int>(key.size()) -
                            static_cast<int>(nodes_[static_cast<std::size_t>(current)].key.size());
                    },
                    ask)) {
                return false;
            }
            if (d < 0) {
                current = std::max(nodes_[static_cast<std::size_t>(current)].parent, 0);
                continue;
            }
            bool added = false;
            const bool goOn = db::detail::RunStep(
                [&] {
                    AddNode(current, d > 0, key, text);
                    added = true;
                },
                ask);
            if (!goOn) return false;
            // A row that could not be added (repeated or empty code) is left out.
            if (added) current = static_cast<int>(nodes_.size()) - 1;
            ++r;
        }
        return true;
    }();
    (void)built;
    Quietly([&] { db::Db().CierraRecordset(rs); });
    view_.TreeReset();
}

void TreeLookup::SetSearchText(const std::string& value) {
    boxText_ = value;
    Position(value);
}

void TreeLookup::Position(const std::string& value) {
    Quietly([&] {
        std::string code;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            const std::string& t = nodes_[i].text;
            const std::size_t dash = t.find('-');
            std::string description;
            if (dash == std::string::npos) {
                description = t;
            } else {
                code = text::Trim(t.substr(0, dash));
                description = text::Trim(t.substr(dash + 1));
            }
            if (text::StartsWith(code, value) || text::StartsWith(description, value)) {
                SelectNode(static_cast<int>(i));
                return;
            }
        }
    });
}

void TreeLookup::CmbSearch_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == 116) {
        FilterSearch();
    } else if (keyCode == 40 || keyCode == 38 || keyCode == 34 || keyCode == 33) {
        view_.FocusTree();
    }
}

void TreeLookup::FilterSearch() {
    std::string joiner;
    Quietly([&] {
        ordenSentencia_.clear();
        boxField_ = "Descripcion";
    });
    Quietly([&] {
        const int orderBy = text::InStr(datos_.SQL, "order by");
        if (orderBy > 0) {
            ordenSentencia_ = text::Mid(datos_.SQL, orderBy);
            sentenciaBase_ = text::Left(datos_.SQL, orderBy - 1);
        } else {
            sentenciaBase_ = datos_.SQL;
        }
    });
    Quietly([&] { joiner = text::Contains(datos_.SQL, "where") ? " and " : " where "; });
    Quietly([&] {
        datos_.SQL = sentenciaBase_ + joiner + "Descripcion" + " like '%" +
                     text::ReplaceAllExact(boxText_, "'", "''") + "%' " + ordenSentencia_;
    });
    Quietly([&] {
        boxText_.clear();
        view_.BoxChanged();
        sentenciaBase_ = datos_.SQL;
        Form_Load();
    });
}

void TreeLookup::SelectNode(int node) {
    selected_ = node >= 0 && node < static_cast<int>(nodes_.size()) ? node : -1;
    view_.SelectionChanged();
}

void TreeLookup::TreeV_NodeCheck(int node, bool checked) {
    if (node < 0 || node >= static_cast<int>(nodes_.size())) return;
    nodes_[static_cast<std::size_t>(node)].checked = checked;
    view_.NodeChanged(node);
    const auto follow = [&](int parent, auto&& self, int depth) -> void {
        if (depth == 0) return;
        for (const int child : nodes_[static_cast<std::size_t>(parent)].children) {
            nodes_[static_cast<std::size_t>(child)].checked = checked;
            view_.NodeChanged(child);
            self(child, self, depth - 1);
        }
    };
    follow(node, follow, 3);
}

void TreeLookup::CmdAceptar_Click() {
    const auto ask = [this](const text::RuntimeError& e) {
        return db::detail::AskReportError(utils_, e, "HScroll1_Change");
    };
    db::DB_Dll& database = db::Db();
    const std::string& campo = datos_.CampoDevuelto;
    bool goOn = true;
    if (datos_.CheckBoxes) {
        if (!datos_.Valores) datos_.Valores = std::vector<std::string>{};
        for (std::size_t i = 0; i < nodes_.size() && goOn; ++i) {
            if (!nodes_[i].checked) continue;
            const std::string code = CodeOf(nodes_[i]);
            goOn = db::detail::RunStep(
                [&] {
                    if (text::EqualsNoCase(campo, "IDFAMILIA") ||
                        text::EqualsNoCase(campo, "CODIGO")) {
                        datos_.Valores->push_back(text::Trim(code));
                    } else if (text::EqualsNoCase(campo, "IDPOSICION")) {
                        adodb::Recordset rs;
                        if (database.ExisteEnTabla("MA_POSICIONES", code, "IDPOSICION", &rs,
                                                   adodb::Variant(std::int32_t{8}), "")) {
                            datos_.Valores->push_back(
                                utils_.NullToEmpty(rs.Fields(campo).Value()).ToString());
                        }
                        database.CierraRecordset(rs);
                    }
                },
                ask);
        }
    } else if (selected_ >= 0) {
        const std::string code = CodeOf(nodes_[static_cast<std::size_t>(selected_)]);
        std::string tabla;
        if (text::EqualsNoCase(campo, "IDFAMILIA")) tabla = "V_TA_FAMILIAS";
        if (text::EqualsNoCase(campo, "IDPOSICION")) tabla = "MA_POSICIONES";
        if (text::EqualsNoCase(campo, "CODIGO")) tabla = "TA_CCOSTO";
        if (!tabla.empty()) {
            goOn = db::detail::RunStep(
                [&] {
                    adodb::Recordset rs;
                    if (database.ExisteEnTabla(tabla, code, campo, &rs,
                                               adodb::Variant(std::int32_t{8}), "")) {
                        datos_.ValorDevuelto = utils_.NullToEmpty(rs.Fields(campo).Value());
                    } else {
                        datos_.ValorDevuelto = std::string();
                    }
                    database.CierraRecordset(rs);
                },
                ask);
        }
    }
    // Single mode without a selected node returns nothing and hides like an acceptance.
    if (goOn) Hide();
}

void TreeLookup::CmdCancelar_Click() {
    Quietly([&] {
        datos_.ValorDevuelto = std::string();
        datos_.CmpsDevueltos.reset();
        datos_.Valores.reset();
    });
    Hide();
}

void TreeLookup::CmdNueva_Click() {
    Quietly([&] { ArmarTreeVAutomatico(); });
}

void TreeLookup::Hide() {
    hidden_ = true;
    view_.HideWindow();
}

void TreeLookup::Form_Unload() {
    try {
        nodes_.clear();
        selected_ = -1;
        view_.TreeReset();
    } catch (const text::RuntimeError& e) {
        ui::prompter().MsgBox(e.Description(), ui::Buttons::OK, ui::Icon::Critical,
                              "Aviso al Operador");
    }
}

}  // namespace lookup
