#include "purge/batch_port.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace purge {

BatchPort::BatchPort(const CommandLineOptions& options, std::ostream& err)
    : err_(err),
      byFiscalYear_(options.fiscalYear.has_value()),
      fiscalYear_(options.fiscalYear.value_or("")),
      date_(options.date.value_or("")) {}

void BatchPort::SetProgressRange(int min, int max) {
    min_ = min;
    max_ = max;
}

void BatchPort::SetProgress(double value) {
    value_ = value;
    if (max_ <= min_) return;
    const double share = std::clamp((value - min_) / (max_ - min_), 0.0, 1.0);
    const int percent = static_cast<int>(std::floor(share * 100.0));
    // Steps of a hundred on the 0..1200 bar: the current step is the band the value is in.
    const int step = std::clamp(static_cast<int>(value / 100.0) + 1, 1, 12);
    // Only forward: the bar going back to 0 after the completion message is not news.
    if (percent <= shownPercent_) return;
    shownPercent_ = percent;
    err_ << "\rDepurando: paso " << step << " de 12, " << percent << "%   " << std::flush;
    lineOpen_ = true;
}

void BatchPort::ShowWaiting(bool waiting) {
    const std::string line =
        std::string("\rDepurando: paso ") +
        std::to_string(std::clamp(static_cast<int>(value_ / 100.0) + 1, 1, 12)) + " de 12. " +
        kWaitingText;
    if (waiting) {
        err_ << line << std::flush;
        lineOpen_ = true;
        return;
    }
    // Back to the progress line, with the waiting text blanked out.
    err_ << "\r" << std::string(line.size(), ' ') << std::flush;
    const int shown = shownPercent_;
    shownPercent_ = -1;
    SetProgress(value_);
    if (shownPercent_ < shown) shownPercent_ = shown;
}

void BatchPort::EndLine() {
    if (!lineOpen_) return;
    err_ << "\n" << std::flush;
    lineOpen_ = false;
}

}  // namespace purge
