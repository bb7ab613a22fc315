#pragma once
// Lib_FrmCons3: the modal list lookup window. Its logic lives in ListLookup; this class maps
// the controls (search boxes CmbSearch_<i>, the list ListView1, the panel picFields, the
// scroll bar HScroll1, the buttons CmdNueva, CmdCancelar, CmdAceptar) and their events onto
// it. Closing the window through its frame or with Escape is the same as "&Cancelar".
#include <QDialog>
#include <memory>
#include <vector>

#include "lookup/lib_clscons3.h"
#include "lookup/list_lookup.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeView;
class QFrame;

namespace lookup {

class ListModel;

class Lib_FrmCons3 : public QDialog, public LookupWindow, private ListLookupView {
  public:
    explicit Lib_FrmCons3(ConfigReader leerConfiguracion, QWidget* parent = nullptr);
    ~Lib_FrmCons3() override;

    LookupWindowRecord& Datos() override { return logic_.Datos(); }
    // Loads the window and shows it modally; returns once the window has hidden itself.
    void Show() override;
    void Unload() override;
    ListLookup& Logic() { return logic_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

  private:
    // ListLookupView
    double TextWidth(const std::string& text) override;
    double ScreenWidth() override;
    void RowsReset() override;
    void RowChanged(int row) override;
    void SelectionChanged() override;
    void BoxesChanged() override;
    void LayoutChanged() override;
    void FocusSearchBox(int index) override;
    void FocusList() override;
    void HideWindow() override;

    int Px(double twips) const;
    double Twips(int px) const;
    QLineEdit* Box(int index);
    void ApplyLayout();

    ListLookup logic_;
    std::unique_ptr<ListModel> model_;
    QLabel* lblFieldName_ = nullptr;
    QWidget* viewport_ = nullptr;
    QWidget* picFields_ = nullptr;
    QTreeView* listView1_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
    QFrame* frame_ = nullptr;
    QPushButton* cmdNueva_ = nullptr;
    QPushButton* cmdCancelar_ = nullptr;
    QPushButton* cmdAceptar_ = nullptr;
    std::vector<QLineEdit*> boxes_;
    bool syncing_ = false;
    bool loaded_ = false;
};

// The list window the lookup service shows.
std::unique_ptr<LookupWindow> MakeListWindow(const ConfigReader& leerConfiguracion);

}  // namespace lookup
