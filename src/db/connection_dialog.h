#pragma once
// What the database object needs of the connection dialog: fill the four boxes, select a
// platform, show it modally, read the answer and the boxes back. Destroying it unloads it.
#include <functional>
#include <memory>
#include <string>

namespace db {

class ConnectionDialog {
  public:
    virtual ~ConnectionDialog() = default;
    virtual void SetBoxes(const std::string& dbName, const std::string& server,
                          const std::string& userId, const std::string& password) = 0;
    virtual void SelectPlatform(int index) = 0;
    virtual void ShowModal() = 0;
    virtual bool Aceptar() const = 0;
    virtual std::string DbName() const = 0;
    virtual std::string Server() const = 0;
    virtual std::string UserId() const = 0;
    virtual std::string Password() const = 0;
    virtual int SelectedPlatform() const = 0;
};

// Creates a freshly loaded dialog for each showing.
using ConnectionDialogFactory = std::function<std::unique_ptr<ConnectionDialog>()>;

}  // namespace db
