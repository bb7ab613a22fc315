// The purge window's controls: names, captions, frames and initial state.
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "purge/frm_dep.h"
#include "purge/pictures.h"

namespace purge {

namespace {

// Below this width the explanation text would wrap into a column of a few words.
constexpr int kNarrowest = 360;

template <class Widget>
Widget* Named(Widget* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QLabel* Picture(QWidget* parent, const char* name, const QPixmap& pixmap) {
    auto* label = Named(new QLabel(parent), name);
    label->setPixmap(pixmap);
    label->setFixedSize(32, 32);
    return label;
}

}  // namespace

void FrmDep::BuildControls() {
    setWindowTitle("Depuraciones");

    Frame1 = Named(new QFrame(this), "Frame1");
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    Label1 =
        Named(new QLabel("Este proceso eliminará físicamente los registros correspondientes al "
                         "Ejercicio seleccionado. El ejercicio seleccionado debe estar cerrado. Se "
                         "recomienda realizar una copia de resguardo de la base de datos, y emitir "
                         "los listados correspondientes del ejercicio en cuestión...",
                         Frame1),
              "Label1");
    Label1->setWordWrap(true);
    ImgTachito = Picture(Frame1, "ImgTachito", TachitoPicture());
    ImgBasura = Picture(Frame1, "ImgBasura", BasuraPicture());

    lbln = Named(new QLabel("Ingrese  Ejercicio a Depurar", Frame1), "lbln");
    txtFields = Named(new QComboBox(Frame1), "txtFields");
    txtFields->setEditable(true);
    txtFields->setInsertPolicy(QComboBox::NoInsert);
    txtFields->setProperty("DataField", "Ejercicio");

    lblHasta = Named(new QLabel("Ingrese Fecha hasta:", Frame1), "lblHasta");
    txtFecha = Named(new QLineEdit("Fecha", Frame1), "txtFecha");
    txtFecha->setMaxLength(10);
    txtFecha->setProperty("DataField", "Fecha");

    lblDesc = Named(new QLabel("...", Frame1), "lblDesc");
    lblDesc->setWordWrap(true);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(ImgTachito, 0, 0, Qt::AlignTop);
    grid->addWidget(Label1, 0, 1, 1, 2);
    grid->addWidget(lbln, 1, 1);
    grid->addWidget(txtFields, 1, 2);
    grid->addWidget(lblHasta, 2, 1);
    grid->addWidget(txtFecha, 2, 2);
    grid->addWidget(ImgBasura, 3, 0, Qt::AlignTop);
    grid->addWidget(lblDesc, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    Frame2 = Named(new QFrame(this), "Frame2");
    Frame2->setFrameShape(QFrame::Box);
    Frame2->setFrameShadow(QFrame::Sunken);
    PBDepurar = Named(new QProgressBar(Frame2), "PBDepurar");
    PBDepurar->setTextVisible(false);
    PBDepurar->setRange(0, 100);
    PBDepurar->setValue(0);
    auto* bar = new QVBoxLayout(Frame2);
    bar->addWidget(PBDepurar);

    CmdAceptar = Named(new QPushButton("&Aceptar", this), "CmdAceptar");
    CmdCancelar = Named(new QPushButton("&Cancelar", this), "CmdCancelar");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdAceptar);
    buttons->addWidget(CmdCancelar);

    auto* main = new QVBoxLayout(this);
    main->addWidget(Frame1, 1);
    main->addWidget(Frame2);
    main->addLayout(buttons);
    resize(480, 320);
    UpdateMinimumSize();

    setTabOrder(txtFields, txtFecha);
    setTabOrder(txtFecha, CmdAceptar);
    setTabOrder(CmdAceptar, CmdCancelar);
}

void FrmDep::SetDescription(const QString& text) {
    lblDesc->setText(text);
    UpdateMinimumSize();
}

void FrmDep::UpdateMinimumSize() {
    // No narrower than the layout allows (the labels that do not wrap fit whole), and at that
    // width as tall as the wrapped texts need: any larger window needs no more height.
    QLayout* main = layout();
    main->invalidate();
    main->activate();
    const int width = std::max(main->minimumSize().width(), kNarrowest);
    int height = std::max(main->hasHeightForWidth() ? main->totalHeightForWidth(width) : 0,
                          main->totalMinimumSize().height());
    // The layout's estimate can fall short for a wrapped text that spans grid columns: lay
    // the controls out at that size and add what a wrapped label still lacks.
    for (int tries = 0; tries < 4; ++tries) {
        main->setGeometry(QRect(0, 0, width, height));
        int lacking = 0;
        for (const QLabel* label : {Label1, lblDesc}) {
            lacking = std::max(lacking, label->heightForWidth(label->width()) - label->height());
        }
        if (lacking <= 0) break;
        height += lacking;
    }
    main->setGeometry(rect());
    setMinimumSize(width, height);
}

}  // namespace purge
