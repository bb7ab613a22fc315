#pragma once
// The tree lookup window's logic without widgets: the tree built from rows of hierarchical
// codes (longer codes nest under shorter ones), positioning, the F5 statement, tick
// propagation, acceptance, cancel and new search. The Qt window maps its controls onto it.
#include <string>
#include <unordered_set>
#include <vector>

#include "clientlib/utility_services.h"
#include "lookup/lookup_window_record.h"

namespace lookup {

class TreeLookupView {
  public:
    virtual ~TreeLookupView() = default;
    virtual void TreeReset() {}
    virtual void NodeChanged(int /*node*/) {}
    virtual void SelectionChanged() {}
    virtual void BoxChanged() {}
    virtual void FocusTree() {}
    virtual void HideWindow() {}
};

struct TreeNode {
    std::string key;  // "A" + code; the root's is "A"
    std::string text;
    int parent = -1;  // index of the parent node; -1 for the root
    std::vector<int> children;
    bool checked = false;
};

class TreeLookup {
  public:
    explicit TreeLookup(TreeLookupView& view) : view_(view) {}

    LookupWindowRecord& Datos() { return datos_; }
    const LookupWindowRecord& Datos() const { return datos_; }
    // Nodes in the order they were added (the root first); display order is `children`.
    const std::vector<TreeNode>& Nodes() const { return nodes_; }
    int Selected() const { return selected_; }
    const std::string& BoxText() const { return boxText_; }
    const std::string& BoxField() const { return boxField_; }
    bool Hidden() const { return hidden_; }

    void Form_Load();
    void Form_Unload();
    void ArmarTreeVAutomatico();

    // Search box: the operator's edit (a text change) and its keys.
    void SetSearchText(const std::string& value);
    void CmbSearch_GotFocus() { indiceBusqueda_ = 0; }
    void CmbSearch_KeyDown(int keyCode, int shift);

    void SelectNode(int node);  // -1 none
    // The operator ticks or unticks a node: the three levels below it follow.
    void TreeV_NodeCheck(int node, bool checked);
    void TreeV_DblClick() { CmdAceptar_Click(); }

    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();

  private:
    static std::string CodeOf(const TreeNode& node) { return node.key.substr(1); }
    void Position(const std::string& value);
    void FilterSearch();
    void AddNode(int relative, bool asChild, const std::string& key, const std::string& text);
    void Hide();

    TreeLookupView& view_;
    clientlib::UtilityServices utils_;
    LookupWindowRecord datos_;
    std::vector<TreeNode> nodes_;
    std::unordered_set<std::string> keys_;  // upper case: keys ignore letter case
    int selected_ = -1;
    std::string boxText_;
    std::string boxField_;
    std::string sentenciaBase_;
    std::string ordenSentencia_;
    int indiceBusqueda_ = 0;
    bool hidden_ = false;
};

}  // namespace lookup
