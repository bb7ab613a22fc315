#pragma once
// The progress display as a small modeless window: the title in its caption, two lines and
// a counter. Its labels carry the object names "lblLinea1", "lblLinea2" and "lblContador".
// It grows to show its texts and title whole, is painted before each call returns (the work
// that reports progress runs on the window thread and may not let it paint for a while),
// and stands beside the window that was active when it opened, not over it.
#include <QPointer>
#include <memory>

#include "clientlib/progress_display.h"

class QWidget;
class QLabel;

namespace clientlib {

class QtProgressDisplay : public ProgressDisplay {
  public:
    QtProgressDisplay();
    ~QtProgressDisplay() override;
    QtProgressDisplay(const QtProgressDisplay&) = delete;
    QtProgressDisplay& operator=(const QtProgressDisplay&) = delete;

    void ShowProgress(const std::string& title, bool flag) override;
    // A line or counter not given is shown empty.
    void UpdateProgress(bool flag, const std::string& line1,
                        const std::optional<std::string>& line2,
                        const std::optional<std::string>& counter) override;
    void CloseProgress() override;

    // The window while it is shown, else null.
    QWidget* Window() const { return window_.get(); }

  private:
    void Fit();
    void Place();
    void Paint();

    std::unique_ptr<QWidget> window_;
    QLabel* line1_ = nullptr;  // owned by window_
    QLabel* line2_ = nullptr;
    QLabel* counter_ = nullptr;
    QPointer<QWidget> anchor_;  // the window it stands beside
};

}  // namespace clientlib
