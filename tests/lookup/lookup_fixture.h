#pragma once
// A small database of the suite's schema opened on the program's database object, a
// configuration of fixed answers, a scripted prompter and a view for the list window's logic
// that needs no display.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lookup/lib_clscons3.h"
#include "lookup/list_lookup.h"
#include "platform/ui/scripted_prompter.h"
#include "support/temp_dir.h"

namespace lookuptest {

class LookupDatabase {
  public:
    // Creates the schema, runs `setupSql` on it and opens the database object on the file.
    explicit LookupDatabase(const std::string& setupSql = {});
    ~LookupDatabase();
    LookupDatabase(const LookupDatabase&) = delete;
    LookupDatabase& operator=(const LookupDatabase&) = delete;

    void Exec(const std::string& sql);
    long long Count(const std::string& sql);
    std::string Text(const std::string& sql);

    const testsupport::TempDir& Dir() const { return dir_; }
    // Keys without an entry read as having no row (a single blank).
    lookup::ConfigReader Reader();

    std::map<std::string, std::string> config;
    std::shared_ptr<ui::ScriptedPrompter> prompter = std::make_shared<ui::ScriptedPrompter>();
    std::vector<std::string> statements;  // every statement the connection ran

  private:
    testsupport::TempDir dir_;
    std::string path_;
    std::shared_ptr<ui::Prompter> previousPrompter_;
};

// A view of fixed metrics: a text of n letters is 100 x n twips wide, the screen 28800.
class FakeView : public lookup::ListLookupView {
  public:
    double TextWidth(const std::string& text) override {
        return 100.0 * static_cast<double>(text.size());
    }
    double ScreenWidth() override { return screenWidth; }
    void FocusSearchBox(int index) override { focus = "box" + std::to_string(index); }
    void FocusList() override { focus = "list"; }
    void HideWindow() override { ++hides; }

    double screenWidth = 28800;
    std::string focus;
    int hides = 0;
};

// Ten articles for the list window tests.
std::string ArticlesSql();

}  // namespace lookuptest
