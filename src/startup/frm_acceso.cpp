#include "startup/frm_acceso.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace startup {
namespace {

QFont LabelFont() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QFont BoxFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

std::string Text(const QLineEdit* box) {
    return box->text().toStdString();
}

}  // namespace

frmAcceso::frmAcceso(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));

    framAcceso = Named(new QGroupBox(this), "framAcceso");
    lbUsuario = Named(new QLabel(QStringLiteral("&Usuario"), framAcceso), "lbUsuario");
    lbcontrasena = Named(new QLabel(QStringLiteral("&Contraseña"), framAcceso), "lbcontrasena");
    Label1 = Named(new QLabel(QStringLiteral("&Base de Datos"), framAcceso), "Label1");
    Label2 = Named(new QLabel(QStringLiteral("&Servidor"), framAcceso), "Label2");
    TxtUserId = Named(new QLineEdit(framAcceso), "TxtUserId");
    TxtUserPassword = Named(new QLineEdit(framAcceso), "TxtUserPassword");
    TxtDbName = Named(new QLineEdit(framAcceso), "TxtDbName");
    TxtServidor = Named(new QLineEdit(framAcceso), "TxtServidor");
    CboPlataformaDB = Named(new QComboBox(framAcceso), "CboPlataformaDB");
    bcAceptar = Named(new QPushButton(QStringLiteral("Aceptar"), this), "bcAceptar");
    bcCancelar = Named(new QPushButton(QStringLiteral("Cancelar"), this), "bcCancelar");

    CboPlataformaDB->addItem(QStringLiteral("SQL Server"));
    CboPlataformaDB->addItem(QStringLiteral("ORACLE"));

    // The password box shows a "*" for every character, whatever the platform's own mask.
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    TxtUserPassword->setStyleSheet(
        QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    // Labels left, fields one under the other in one column (so of equal width), the
    // platform list under them.
    auto* grid = new QGridLayout(framAcceso);
    const std::pair<QLabel*, QLineEdit*> rows[] = {{lbUsuario, TxtUserId},
                                                   {lbcontrasena, TxtUserPassword},
                                                   {Label1, TxtDbName},
                                                   {Label2, TxtServidor}};
    int row = 0;
    for (const auto& [label, box] : rows) {
        label->setFont(LabelFont());
        label->setBuddy(box);
        box->setFont(BoxFont());
        box->setMinimumWidth(180);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    CboPlataformaDB->setFont(BoxFont());
    grid->addWidget(CboPlataformaDB, row, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bcAceptar);
    buttons->addWidget(bcCancelar);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(framAcceso);
    layout->addLayout(buttons);

    QWidget::setTabOrder(TxtUserId, TxtUserPassword);
    QWidget::setTabOrder(TxtUserPassword, TxtDbName);
    QWidget::setTabOrder(TxtDbName, TxtServidor);
    QWidget::setTabOrder(TxtServidor, CboPlataformaDB);
    QWidget::setTabOrder(CboPlataformaDB, bcAceptar);
    QWidget::setTabOrder(bcAceptar, bcCancelar);
    bcAceptar->setDefault(true);

    connect(bcAceptar, &QPushButton::clicked, this, [this] { bcAceptar_Click(); });
    connect(bcCancelar, &QPushButton::clicked, this, [this] { bcCancelar_Click(); });

    adjustSize();
    CentreOnScreen();
}

void frmAcceso::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

// Both buttons only hide the window: it stays loaded so the caller can read the boxes.
// Closing it any other way (its close box, Escape) leaves Aceptar false.
void frmAcceso::bcAceptar_Click() {
    aceptar_ = true;
    hide();
}

void frmAcceso::bcCancelar_Click() {
    aceptar_ = false;
    hide();
}

void frmAcceso::SetBoxes(const std::string& dbName, const std::string& server,
                         const std::string& userId, const std::string& password) {
    TxtDbName->setText(QString::fromStdString(dbName));
    TxtServidor->setText(QString::fromStdString(server));
    TxtUserId->setText(QString::fromStdString(userId));
    TxtUserPassword->setText(QString::fromStdString(password));
}

void frmAcceso::SelectPlatform(int index) {
    CboPlataformaDB->setCurrentIndex(index);
}

void frmAcceso::ShowModal() {
    exec();
}

std::string frmAcceso::DbName() const {
    return Text(TxtDbName);
}
std::string frmAcceso::Server() const {
    return Text(TxtServidor);
}
std::string frmAcceso::UserId() const {
    return Text(TxtUserId);
}
std::string frmAcceso::Password() const {
    return Text(TxtUserPassword);
}
int frmAcceso::SelectedPlatform() const {
    return CboPlataformaDB->currentIndex();
}

}  // namespace startup
