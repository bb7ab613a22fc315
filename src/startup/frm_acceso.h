#pragma once
// frmAcceso: the connection dialog "Control de Acceso", in which the operator types or
// corrects user, password, database, server and database platform. The database object
// fills it, shows it modally and reads the answer back.
#include <QDialog>
#include <string>

#include "db/connection_dialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace startup {

class frmAcceso : public QDialog, public db::ConnectionDialog {
  public:
    explicit frmAcceso(QWidget* parent = nullptr);

    // db::ConnectionDialog
    void SetBoxes(const std::string& dbName, const std::string& server, const std::string& userId,
                  const std::string& password) override;
    void SelectPlatform(int index) override;
    void ShowModal() override;
    bool Aceptar() const override { return aceptar_; }
    std::string DbName() const override;
    std::string Server() const override;
    std::string UserId() const override;
    std::string Password() const override;
    int SelectedPlatform() const override;

    // Controls, named as their objectName.
    QGroupBox* framAcceso;
    QLabel* lbUsuario;
    QLabel* lbcontrasena;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* TxtUserId;
    QLineEdit* TxtUserPassword;
    QLineEdit* TxtDbName;
    QLineEdit* TxtServidor;
    QComboBox* CboPlataformaDB;
    QPushButton* bcAceptar;
    QPushButton* bcCancelar;

  private:
    void bcAceptar_Click();
    void bcCancelar_Click();
    void CentreOnScreen();

    bool aceptar_ = false;
};

}  // namespace startup
