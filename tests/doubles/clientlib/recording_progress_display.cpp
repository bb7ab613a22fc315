#include "clientlib/recording_progress_display.h"

namespace clientlib {

void RecordingProgressDisplay::ShowProgress(const std::string& title, bool flag) {
    calls_.push_back(Call{Call::Kind::Show, title, std::nullopt, std::nullopt, flag});
}

void RecordingProgressDisplay::UpdateProgress(bool flag, const std::string& line1,
                                              const std::optional<std::string>& line2,
                                              const std::optional<std::string>& counter) {
    calls_.push_back(Call{Call::Kind::Update, line1, line2, counter, flag});
}

void RecordingProgressDisplay::CloseProgress() {
    calls_.push_back(Call{Call::Kind::Close, {}, std::nullopt, std::nullopt, false});
}

}  // namespace clientlib
