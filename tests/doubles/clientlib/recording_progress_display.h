#pragma once
// A progress display for tests: keeps every call.
#include <optional>
#include <string>
#include <vector>

#include "clientlib/progress_display.h"

namespace clientlib {

class RecordingProgressDisplay : public ProgressDisplay {
  public:
    struct Call {
        enum class Kind { Show, Update, Close } kind;
        std::string title_or_line1;
        std::optional<std::string> line2;
        std::optional<std::string> counter;
        bool flag = false;
    };
    void ShowProgress(const std::string& title, bool flag) override;
    void UpdateProgress(bool flag, const std::string& line1,
                        const std::optional<std::string>& line2,
                        const std::optional<std::string>& counter) override;
    void CloseProgress() override;
    const std::vector<Call>& Calls() const { return calls_; }

  private:
    std::vector<Call> calls_;
};

}  // namespace clientlib
