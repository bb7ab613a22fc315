#pragma once
// Lib_FrmCons3Tree: the modal tree lookup window. Its logic lives in TreeLookup; this class
// maps the controls (the tree TreeV, the search box CmbSearch_0, the buttons CmdNueva,
// CmdCancelar, CmdAceptar) and their events onto it. Closing the window through its frame or
// with Escape is the same as "&Cancelar".
#include <QDialog>
#include <memory>
#include <vector>

#include "lookup/lib_clscons3.h"
#include "lookup/tree_lookup.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lookup {

class Lib_FrmCons3Tree : public QDialog, public LookupWindow, private TreeLookupView {
  public:
    explicit Lib_FrmCons3Tree(QWidget* parent = nullptr);

    LookupWindowRecord& Datos() override { return logic_.Datos(); }
    void Show() override;
    void Unload() override;
    TreeLookup& Logic() { return logic_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

  private:
    void TreeReset() override;
    void NodeChanged(int node) override;
    void SelectionChanged() override;
    void BoxChanged() override;
    void FocusTree() override;
    void HideWindow() override;

    TreeLookup logic_;
    QTreeWidget* treeV_ = nullptr;
    QLineEdit* cmbSearch_ = nullptr;
    QLabel* lblFieldName_ = nullptr;
    std::vector<QTreeWidgetItem*> items_;  // by node index
    bool syncing_ = false;
    bool loaded_ = false;
};

// The tree window the lookup service shows.
std::unique_ptr<LookupWindow> MakeTreeWindow(const ConfigReader& leerConfiguracion);

}  // namespace lookup
