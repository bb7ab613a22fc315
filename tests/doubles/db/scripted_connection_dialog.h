#pragma once
// Connection dialog for tests: each showing is answered from a queue the test fills, and what
// the database object put into the dialog is recorded. A showing with no queued answer fails
// loudly (std::logic_error), so a dialog nobody expected is never silently answered.
//
//   auto script = std::make_shared<db::ConnectionDialogScript>();
//   script->Accept({.server = "SRV1", .platform = 1});
//   db.SetDialogFactory(script->Factory());
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection_dialog.h"

namespace db {

// The operator's answer to one showing. Boxes left unset keep what the dialog was filled
// with; an unset platform keeps the selected one.
struct DialogReply {
    bool accept = true;
    std::optional<std::string> dbName{};
    std::optional<std::string> server{};
    std::optional<std::string> userId{};
    std::optional<std::string> password{};
    std::optional<int> platform{};
};

// What one showing was filled with.
struct DialogShowing {
    std::string dbName;
    std::string server;
    std::string userId;
    std::string password;
    int platform = -1;  // selected before showing
    bool shown = false;
    bool unloaded = false;
};

class ConnectionDialogScript : public std::enable_shared_from_this<ConnectionDialogScript> {
  public:
    void Accept(DialogReply reply = {});
    void Cancel();

    // A factory for DB_Dll::SetDialogFactory; the script must be owned by a shared_ptr.
    ConnectionDialogFactory Factory();

    const std::vector<DialogShowing>& Showings() const { return showings_; }
    std::size_t PendingReplies() const { return replies_.size(); }

  private:
    friend class ScriptedConnectionDialog;
    std::deque<DialogReply> replies_;
    std::vector<DialogShowing> showings_;
};

class ScriptedConnectionDialog : public ConnectionDialog {
  public:
    explicit ScriptedConnectionDialog(std::shared_ptr<ConnectionDialogScript> script);
    ~ScriptedConnectionDialog() override;

    void SetBoxes(const std::string& dbName, const std::string& server, const std::string& userId,
                  const std::string& password) override;
    void SelectPlatform(int index) override;
    void ShowModal() override;
    bool Aceptar() const override { return aceptar_; }
    std::string DbName() const override { return dbName_; }
    std::string Server() const override { return server_; }
    std::string UserId() const override { return userId_; }
    std::string Password() const override { return password_; }
    int SelectedPlatform() const override { return platform_; }

  private:
    DialogShowing& Record();

    std::shared_ptr<ConnectionDialogScript> script_;
    std::size_t index_;
    bool aceptar_ = false;
    std::string dbName_, server_, userId_, password_;
    int platform_ = -1;
};

}  // namespace db
