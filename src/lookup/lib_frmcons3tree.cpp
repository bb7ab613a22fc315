#include "lookup/lib_frmcons3tree.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "clientlib/utility_services.h"
#include "lookup/virtual_keys.h"

namespace lookup {
namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

}  // namespace

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QWidget* parent) : QDialog(parent), logic_(*this) {
    setObjectName("Lib_FrmCons3Tree");
    setWindowTitle("Consulta...");
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    lblFieldName_ = new QLabel(this);
    lblFieldName_->setObjectName("lblFieldName");
    lblFieldName_->hide();
    cmbSearch_ = new QLineEdit(this);
    cmbSearch_->setObjectName("CmbSearch_0");
    cmbSearch_->setToolTip("F5 realiza nueva busqueda");
    cmbSearch_->setPlaceholderText("F5 realiza nueva busqueda");
    cmbSearch_->installEventFilter(this);
    treeV_ = new QTreeWidget(this);
    treeV_->setObjectName("TreeV");
    treeV_->setHeaderHidden(true);
    treeV_->setRootIsDecorated(true);
    treeV_->setUniformRowHeights(true);
    treeV_->setColumnCount(1);
    layout->addWidget(lblFieldName_);
    layout->addWidget(cmbSearch_);
    layout->addWidget(treeV_, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    const auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* nueva = button("CmdNueva", "&Nueva Busqueda");
    QPushButton* cancelar = button("CmdCancelar", "&Cancelar");
    QPushButton* aceptar = button("CmdAceptar", "&Aceptar");
    buttons->addStretch();
    layout->addLayout(buttons);
    // The window has no layout logic of its own beyond this fixed arrangement.
    setFixedSize(480, 420);

    connect(aceptar, &QPushButton::clicked, this, [this] { logic_.CmdAceptar_Click(); });
    connect(cancelar, &QPushButton::clicked, this, [this] { logic_.CmdCancelar_Click(); });
    connect(nueva, &QPushButton::clicked, this, [this] { logic_.CmdNueva_Click(); });
    connect(cmbSearch_, &QLineEdit::textEdited, this, [this](const QString& value) {
        if (!syncing_) logic_.SetSearchText(value.toStdString());
    });
    connect(treeV_, &QTreeWidget::itemDoubleClicked, this, [this] { logic_.TreeV_DblClick(); });
    connect(treeV_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!syncing_) logic_.SelectNode(current ? current->data(0, kNodeRole).toInt() : -1);
    });
    connect(treeV_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (syncing_ || !logic_.Datos().CheckBoxes) return;
        const int node = item->data(0, kNodeRole).toInt();
        const bool checked = item->checkState(0) == Qt::Checked;
        if (checked != logic_.Nodes()[static_cast<std::size_t>(node)].checked) {
            logic_.TreeV_NodeCheck(node, checked);
        }
    });
}

void Lib_FrmCons3Tree::TreeReset() {
    syncing_ = true;
    treeV_->clear();
    items_.clear();
    const std::vector<TreeNode>& nodes = logic_.Nodes();
    items_.resize(nodes.size(), nullptr);
    const bool checks = logic_.Datos().CheckBoxes;
    // Items are made parent first, children in display order.
    const auto make = [&](int index, QTreeWidgetItem* parent, auto&& self) -> void {
        const TreeNode& n = nodes[static_cast<std::size_t>(index)];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(treeV_);
        item->setText(0, QString::fromStdString(n.text));
        item->setData(0, kNodeRole, index);
        if (checks) item->setCheckState(0, n.checked ? Qt::Checked : Qt::Unchecked);
        items_[static_cast<std::size_t>(index)] = item;
        for (const int child : n.children) self(child, item, self);
    };
    if (!nodes.empty()) {
        make(0, nullptr, make);
        items_[0]->setExpanded(true);
    }
    syncing_ = false;
    SelectionChanged();
}

void Lib_FrmCons3Tree::NodeChanged(int node) {
    if (node < 0 || node >= static_cast<int>(items_.size()) || !logic_.Datos().CheckBoxes) return;
    syncing_ = true;
    items_[static_cast<std::size_t>(node)]->setCheckState(
        0, logic_.Nodes()[static_cast<std::size_t>(node)].checked ? Qt::Checked : Qt::Unchecked);
    syncing_ = false;
}

void Lib_FrmCons3Tree::SelectionChanged() {
    syncing_ = true;
    const int node = logic_.Selected();
    if (node >= 0 && node < static_cast<int>(items_.size())) {
        QTreeWidgetItem* item = items_[static_cast<std::size_t>(node)];
        treeV_->setCurrentItem(item);
        treeV_->scrollToItem(item);
    } else {
        treeV_->setCurrentItem(nullptr);
    }
    syncing_ = false;
}

void Lib_FrmCons3Tree::BoxChanged() {
    syncing_ = true;
    cmbSearch_->setText(QString::fromStdString(logic_.BoxText()));
    cmbSearch_->setProperty("tag", QString::fromStdString(logic_.BoxField()));
    syncing_ = false;
}

void Lib_FrmCons3Tree::FocusTree() {
    treeV_->setFocus();
}

void Lib_FrmCons3Tree::HideWindow() {
    QDialog::done(QDialog::Accepted);
    hide();
}

void Lib_FrmCons3Tree::reject() {
    logic_.CmdCancelar_Click();
}

bool Lib_FrmCons3Tree::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbSearch_ && event->type() == QEvent::FocusIn) logic_.CmbSearch_GotFocus();
    if (watched == cmbSearch_ && event->type() == QEvent::KeyPress) {
        const int code = VirtualKeyCode(*static_cast<QKeyEvent*>(event));
        if (code == 116 || code == 40 || code == 38 || code == 34 || code == 33) {
            logic_.CmbSearch_KeyDown(code, ShiftState(*static_cast<QKeyEvent*>(event)));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Lib_FrmCons3Tree::Show() {
    loaded_ = true;
    logic_.Form_Load();
    clientlib::UtilityServices().PrepareWindow(this, false);
    if (logic_.Hidden()) return;
    cmbSearch_->setFocus();
    exec();
}

void Lib_FrmCons3Tree::Unload() {
    if (loaded_) logic_.Form_Unload();
    loaded_ = false;
    close();
}

std::unique_ptr<LookupWindow> MakeTreeWindow(const ConfigReader& /*leerConfiguracion*/) {
    return std::make_unique<Lib_FrmCons3Tree>();
}

}  // namespace lookup
