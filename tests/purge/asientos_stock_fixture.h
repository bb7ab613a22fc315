#pragma once
// Shared by the accounting-step and stock-step tests: a generated database opened as the
// program's database object, a port that records what the step does to the window, a
// scripted prompter, a recording progress display, and direct access to the file for setting
// up cases and checking results independently of the program's own data-access layer.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clientlib/progress_display.h"
#include "clientlib/recording_progress_display.h"
#include "db/db_dll.h"
#include "demo/sqlite_handle.h"
#include "platform/text/regional.h"
#include "platform/ui/scripted_prompter.h"
#include "purge/purge_port.h"
#include "support/temp_dir.h"

namespace purgetest {

class RecordingPort : public purge::PurgePort {
  public:
    void SetProgress(double value) override { progress.push_back(value); }
    double Progress() const override { return progress.empty() ? 0 : progress.back(); }
    void SetProgressRange(int, int) override {}
    void ProcessEvents() override {
        if (onEvents) onEvents(events);
        ++events;
    }
    void SetTrashVisible(bool visible) override { trashVisible = visible; }
    bool ByFiscalYear() const override { return byFiscalYear; }
    std::string FiscalYearText() const override { return fiscalYear; }
    std::string DateText() const override { return date; }

    std::vector<double> progress;
    bool trashVisible = true;
    bool byFiscalYear = false;
    std::string fiscalYear;
    std::string date;
    int events = 0;
    std::function<void(int)> onEvents;  // called with the number of earlier calls
};

// One row of a query, each value as text (nullopt for NULL).
using Row = std::vector<std::optional<std::string>>;

class PurgeDatabase {
  public:
    explicit PurgeDatabase(double scale = 0.05, bool openingBalance = true);
    ~PurgeDatabase();
    PurgeDatabase(const PurgeDatabase&) = delete;
    PurgeDatabase& operator=(const PurgeDatabase&) = delete;

    db::DB_Dll& Db() const;
    const std::string& Path() const { return path_; }

    // Straight to the file on a connection of its own (setup and checks; never while a step
    // holds a transaction open).
    void Exec(const std::string& sql) const;
    std::vector<Row> Query(const std::string& sql) const;
    long long Count(const std::string& sql) const;

    // Statements the program sent, in order.
    std::vector<std::string> statements;
    std::shared_ptr<ui::ScriptedPrompter> prompter;
    std::shared_ptr<clientlib::RecordingProgressDisplay> display;
    RecordingPort port;

  private:
    text::RegionalSettings previousRegional_;
    testsupport::TempDir dir_;
    std::string path_;
    demo::detail::DatabaseHandle raw_;
    std::shared_ptr<ui::Prompter> previousPrompter_;
    std::shared_ptr<clientlib::ProgressDisplay> previousDisplay_;
    mutable db::DB_Dll db_;
};

// A step of the operator's answers: the answer, and what happens while the box is up.
class CallbackPrompter : public ui::Prompter {
  public:
    explicit CallbackPrompter(std::shared_ptr<ui::ScriptedPrompter> inner,
                              std::function<void()> whileShown)
        : inner_(std::move(inner)), whileShown_(std::move(whileShown)) {}
    int MsgBox(const std::string& prompt, ui::Buttons buttons, ui::Icon icon,
               const std::string& title) override {
        if (whileShown_) whileShown_();
        return inner_->MsgBox(prompt, buttons, icon, title);
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        return inner_->InputBox(prompt, title, defaultText);
    }

  private:
    std::shared_ptr<ui::ScriptedPrompter> inner_;
    std::function<void()> whileShown_;
};

// The texts of the progress-display calls, one line per call ("Show|title", "Update|l1|l2|n",
// "Close").
std::vector<std::string> DisplayCalls(const clientlib::RecordingProgressDisplay& display);

// True when a write transaction can start on the file at once, i.e. nobody left one open.
bool FileIsFree(const std::string& path);

}  // namespace purgetest
