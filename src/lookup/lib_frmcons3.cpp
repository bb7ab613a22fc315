#include "lookup/lib_frmcons3.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>

#include "clientlib/utility_services.h"
#include "lookup/list_model.h"
#include "lookup/virtual_keys.h"

namespace lookup {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kFrameHeight = 40;  // px, the button frame
constexpr int kDesignHeight = 420;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

Lib_FrmCons3::Lib_FrmCons3(ConfigReader leerConfiguracion, QWidget* parent)
    : QDialog(parent), logic_(*this, std::move(leerConfiguracion)) {
    setObjectName("Lib_FrmCons3");
    setWindowTitle("Consulta...");
    setModal(true);

    lblFieldName_ = new QLabel(this);
    lblFieldName_->setObjectName("lblFieldName");
    QFont labelFont("Tahoma");
    labelFont.setPointSizeF(8.25);
    lblFieldName_->setFont(labelFont);
    lblFieldName_->hide();

    viewport_ = new QWidget(this);
    viewport_->setObjectName("picFieldsViewport");
    picFields_ = new QWidget(viewport_);
    picFields_->setObjectName("picFields");

    model_ = std::make_unique<ListModel>(logic_);
    listView1_ = new QTreeView(picFields_);
    listView1_->setObjectName("ListView1");
    listView1_->setRootIsDecorated(false);
    listView1_->setUniformRowHeights(true);
    listView1_->setItemsExpandable(false);
    listView1_->setAllColumnsShowFocus(true);
    listView1_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView1_->setModel(model_.get());
    listView1_->header()->setSectionsClickable(true);
    listView1_->header()->setStretchLastSection(false);

    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName("HScroll1");

    frame_ = new QFrame(this);
    frame_->setObjectName("FrameBotones");
    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, frame_);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    cmdNueva_ = button("CmdNueva", "&Nueva Busqueda");
    cmdCancelar_ = button("CmdCancelar", "&Cancelar");
    cmdAceptar_ = button("CmdAceptar", "&Aceptar");
    int x = 0;
    for (QPushButton* b : {cmdNueva_, cmdCancelar_, cmdAceptar_}) {
        b->setGeometry(x, 4, 120, kFrameHeight - 8);
        x += 128;
    }
    frame_->resize(x - 8, kFrameHeight);

    Box(0)->setToolTip("F5 realiza nueva busqueda");
    Box(0)->setPlaceholderText("F5 realiza nueva busqueda");

    connect(cmdAceptar_, &QPushButton::clicked, this, [this] { logic_.CmdAceptar_Click(); });
    connect(cmdCancelar_, &QPushButton::clicked, this, [this] { logic_.CmdCancelar_Click(); });
    connect(cmdNueva_, &QPushButton::clicked, this, [this] { logic_.CmdNueva_Click(); });
    connect(listView1_, &QTreeView::doubleClicked, this, [this] { logic_.ListView1_DblClick(); });
    connect(listView1_->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { logic_.ListView1_ColumnClick(section); });
    connect(listView1_->header(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (syncing_) return;
                auto& columns = logic_.Lista().columns;
                if (section >= 0 && section < static_cast<int>(columns.size())) {
                    columns[static_cast<std::size_t>(section)].width = Twips(size);
                }
            });
    connect(listView1_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_) logic_.SelectRow(current.isValid() ? current.row() : -1);
            });
    connect(hScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { picFields_->move(Px(logic_.HScroll1_Change(value)), 0); });

    resize(640, kDesignHeight);
}

Lib_FrmCons3::~Lib_FrmCons3() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

int Lib_FrmCons3::Px(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / kTwipsPerInch));
}

double Lib_FrmCons3::Twips(int px) const {
    return std::round(px * kTwipsPerInch / logicalDpiX());
}

double Lib_FrmCons3::TextWidth(const std::string& text) {
    return Twips(fontMetrics().horizontalAdvance(Q(text)));
}

double Lib_FrmCons3::ScreenWidth() {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? Twips(s->geometry().width()) : 1920 * 15.0;
}

QLineEdit* Lib_FrmCons3::Box(int index) {
    while (static_cast<int>(boxes_.size()) <= index) {
        auto* box = new QLineEdit(picFields_);
        const int i = static_cast<int>(boxes_.size());
        box->setObjectName(QString("CmbSearch_%1").arg(i));
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& value) {
            if (!syncing_) logic_.SetSearchText(i, value.toStdString());
        });
        if (i > 0) QWidget::setTabOrder(boxes_.back(), box);
        boxes_.push_back(box);
    }
    return boxes_[static_cast<std::size_t>(index)];
}

void Lib_FrmCons3::RowsReset() {
    syncing_ = true;
    model_->Reset();
    syncing_ = false;
    SelectionChanged();
}

void Lib_FrmCons3::RowChanged(int row) {
    model_->RowChanged(row);
}

void Lib_FrmCons3::SelectionChanged() {
    syncing_ = true;
    const int row = logic_.Lista().selected;
    if (row >= 0) {
        const QModelIndex index = model_->index(row, 0);
        listView1_->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        listView1_->scrollTo(index);
    } else {
        listView1_->selectionModel()->clearSelection();
    }
    syncing_ = false;
}

void Lib_FrmCons3::BoxesChanged() {
    syncing_ = true;
    const std::vector<SearchBox>& boxes = logic_.Boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit* box = Box(static_cast<int>(i));
        const QString value = Q(boxes[i].text);
        if (box->text() != value) box->setText(value);
        box->setProperty("tag", Q(boxes[i].tag));
        box->setVisible(boxes[i].visible);
        box->setStyleSheet(boxes[i].highlighted ? "background-color: #00FFFF;"
                                                : "background-color: #FFFFFF;");
    }
    syncing_ = false;
}

void Lib_FrmCons3::LayoutChanged() {
    syncing_ = true;
    model_->Reset();
    const auto& columns = logic_.Lista().columns;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        listView1_->header()->resizeSection(static_cast<int>(c), Px(columns[c].width));
    }
    const std::vector<SearchBox>& boxes = logic_.Boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        Box(static_cast<int>(i))
            ->setGeometry(Px(boxes[i].left) + 2, 0, std::max(Px(boxes[i].width), 8), 24);
    }
    hScroll1_->setRange(0, static_cast<int>(logic_.ScrollMax()));
    syncing_ = false;
    ApplyLayout();
}

void Lib_FrmCons3::ApplyLayout() {
    const int h = height();
    const int w = width();
    const int margin = 8;
    const int scrollHeight = hScroll1_->sizeHint().height();
    const int viewportHeight = std::max(h - kFrameHeight - scrollHeight - 3 * margin, 40);
    viewport_->setGeometry(margin, margin, std::max(w - 2 * margin, 40), viewportHeight);
    const int panelWidth = std::max(Px(logic_.PanelWidth()), viewport_->width());
    picFields_->setGeometry(picFields_->x(), 0, panelWidth, viewportHeight);
    listView1_->setGeometry(0, 26, panelWidth - 2, viewportHeight - 26);
    hScroll1_->setGeometry(margin, margin + viewportHeight + 2, viewport_->width(), scrollHeight);
    frame_->move(w / 2 - frame_->width() / 2, h - kFrameHeight - margin / 2);
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ApplyLayout();
}

void Lib_FrmCons3::FocusSearchBox(int index) {
    if (index >= 0 && index < static_cast<int>(boxes_.size())) {
        boxes_[static_cast<std::size_t>(index)]->setFocus();
    }
}

void Lib_FrmCons3::FocusList() {
    listView1_->setFocus();
}

void Lib_FrmCons3::HideWindow() {
    QDialog::done(QDialog::Accepted);
    hide();
}

void Lib_FrmCons3::reject() {
    logic_.CmdCancelar_Click();
}

bool Lib_FrmCons3::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched->isWidgetType() &&
        (watched == this || isAncestorOf(static_cast<QWidget*>(watched)))) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = VirtualKeyCode(*key);
        const int shift = ShiftState(*key);
        // The window sees every key before its controls.
        logic_.Form_KeyDown(code, shift);
        if (code == 0 && VirtualKeyCode(*key) != 0) {
            // The question box took the activation; give it back to the lookup.
            activateWindow();
            return true;
        }
        if (watched == listView1_) return logic_.ListView1_KeyDown(code, shift);
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            if (watched != boxes_[i]) continue;
            const bool moves = code == 40 || code == 38 || code == 34 || code == 33;
            if (moves || code == 116) {
                logic_.CmbSearch_KeyDown(static_cast<int>(i), code, shift);
                return true;
            }
        }
        return false;
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (watched != boxes_[i]) continue;
        if (type == QEvent::FocusIn) logic_.CmbSearch_GotFocus(static_cast<int>(i));
        if (type == QEvent::FocusOut) logic_.CmbSearch_LostFocus(static_cast<int>(i));
    }
    return QDialog::eventFilter(watched, event);
}

void Lib_FrmCons3::Show() {
    qApp->installEventFilter(this);
    loaded_ = true;
    logic_.Form_Load();
    resize(Px(logic_.WindowWidth()), height());
    clientlib::UtilityServices().PrepareWindow(this, false);
    if (logic_.Hidden()) return;
    FocusSearchBox(0);
    exec();
    qApp->removeEventFilter(this);
}

void Lib_FrmCons3::Unload() {
    if (loaded_) logic_.Form_Unload();
    loaded_ = false;
    close();
}

std::unique_ptr<LookupWindow> MakeListWindow(const ConfigReader& leerConfiguracion) {
    return std::make_unique<Lib_FrmCons3>(leerConfiguracion);
}

}  // namespace lookup
