#pragma once
// The connection dialog of batch mode: there is no window to show, so every showing is
// answered as Cancel, after telling the operator what the parameter string must carry.
#include <iosfwd>
#include <string>

#include "db/connection_dialog.h"

namespace purge {

class BatchConnectionDialog : public db::ConnectionDialog {
  public:
    explicit BatchConnectionDialog(std::ostream& err) : err_(err) {}

    void SetBoxes(const std::string& dbName, const std::string& server, const std::string& userId,
                  const std::string& password) override;
    void SelectPlatform(int index) override { platform_ = index; }
    void ShowModal() override;
    bool Aceptar() const override { return false; }
    std::string DbName() const override { return dbName_; }
    std::string Server() const override { return server_; }
    std::string UserId() const override { return userId_; }
    std::string Password() const override { return password_; }
    int SelectedPlatform() const override { return platform_; }

  private:
    std::ostream& err_;
    std::string dbName_, server_, userId_, password_;
    int platform_ = 0;
};

}  // namespace purge
