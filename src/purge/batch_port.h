#pragma once
// What batch mode gives the run in place of the window: the inputs from the command line and
// the progress as one updating line on standard error.
#include <iosfwd>
#include <string>

#include "purge/batch_options.h"
#include "purge/purge_port.h"

namespace purge {

class BatchPort : public PurgePort {
  public:
    BatchPort(const CommandLineOptions& options, std::ostream& err);

    void SetProgress(double value) override;
    double Progress() const override { return value_; }
    void SetProgressRange(int min, int max) override;
    void ProcessEvents() override {}
    void SetTrashVisible(bool) override {}
    bool ByFiscalYear() const override { return byFiscalYear_; }
    std::string FiscalYearText() const override { return fiscalYear_; }
    std::string DateText() const override { return date_; }
    void ShowWaiting(bool waiting) override;

    // Ends the progress line, so that what is written next starts on a line of its own.
    void EndLine();

  private:
    std::ostream& err_;
    bool byFiscalYear_;
    std::string fiscalYear_;
    std::string date_;
    double value_ = 0;
    int min_ = 0;
    int max_ = 100;
    int shownPercent_ = -1;
    bool lineOpen_ = false;
};

}  // namespace purge
