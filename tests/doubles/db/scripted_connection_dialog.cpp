#include "db/scripted_connection_dialog.h"

#include <stdexcept>

namespace db {

void ConnectionDialogScript::Accept(DialogReply reply) {
    reply.accept = true;
    replies_.push_back(std::move(reply));
}

void ConnectionDialogScript::Cancel() {
    DialogReply reply;
    reply.accept = false;
    replies_.push_back(std::move(reply));
}

ConnectionDialogFactory ConnectionDialogScript::Factory() {
    std::shared_ptr<ConnectionDialogScript> self = shared_from_this();
    return [self]() -> std::unique_ptr<ConnectionDialog> {
        return std::make_unique<ScriptedConnectionDialog>(self);
    };
}

ScriptedConnectionDialog::ScriptedConnectionDialog(std::shared_ptr<ConnectionDialogScript> script)
    : script_(std::move(script)), index_(script_->showings_.size()) {
    script_->showings_.emplace_back();
}

ScriptedConnectionDialog::~ScriptedConnectionDialog() {
    Record().unloaded = true;
}

DialogShowing& ScriptedConnectionDialog::Record() {
    return script_->showings_.at(index_);
}

void ScriptedConnectionDialog::SetBoxes(const std::string& dbName, const std::string& server,
                                        const std::string& userId, const std::string& password) {
    dbName_ = dbName;
    server_ = server;
    userId_ = userId;
    password_ = password;
    DialogShowing& r = Record();
    r.dbName = dbName;
    r.server = server;
    r.userId = userId;
    r.password = password;
}

void ScriptedConnectionDialog::SelectPlatform(int index) {
    platform_ = index;
    Record().platform = index;
}

void ScriptedConnectionDialog::ShowModal() {
    Record().shown = true;
    if (script_->replies_.empty()) {
        throw std::logic_error("connection dialog shown with no scripted reply");
    }
    const DialogReply reply = script_->replies_.front();
    script_->replies_.pop_front();
    aceptar_ = reply.accept;
    if (reply.dbName) dbName_ = *reply.dbName;
    if (reply.server) server_ = *reply.server;
    if (reply.userId) userId_ = *reply.userId;
    if (reply.password) password_ = *reply.password;
    if (reply.platform) platform_ = *reply.platform;
}

}  // namespace db
