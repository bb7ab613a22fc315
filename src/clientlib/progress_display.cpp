#include "clientlib/progress_display.h"

#include <iostream>
#include <utility>

namespace clientlib {

namespace {

class SilentProgressDisplay : public ProgressDisplay {
  public:
    void ShowProgress(const std::string&, bool) override {}
    void UpdateProgress(bool, const std::string&, const std::optional<std::string>&,
                        const std::optional<std::string>&) override {}
    void CloseProgress() override {}
};

std::shared_ptr<ProgressDisplay>& Installed() {
    static std::shared_ptr<ProgressDisplay> display;
    return display;
}

std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

ProgressDisplay& progress() {
    static SilentProgressDisplay silent;
    const auto& d = Installed();
    return d ? *d : silent;
}

std::shared_ptr<ProgressDisplay> SetProgressDisplay(std::shared_ptr<ProgressDisplay> d) {
    return std::exchange(Installed(), std::move(d));
}

ConsoleProgressDisplay::ConsoleProgressDisplay() : ConsoleProgressDisplay(std::cerr) {}

ConsoleProgressDisplay::ConsoleProgressDisplay(std::ostream& out) : out_(&out) {}

void ConsoleProgressDisplay::ShowProgress(const std::string& title, bool /*flag*/) {
    if (lineOpen_) *out_ << "\n";
    *out_ << title << std::endl;
    lineOpen_ = false;
    lastWidth_ = 0;
}

void ConsoleProgressDisplay::UpdateProgress(bool /*flag*/, const std::string& line1,
                                            const std::optional<std::string>& line2,
                                            const std::optional<std::string>& counter) {
    std::string line = line1;
    if (line2 && !line2->empty()) line += " - " + *line2;
    if (counter && !counter->empty()) line += " [" + *counter + "]";
    const std::size_t width = CharCount(line);
    *out_ << "\r" << line;
    if (width < lastWidth_) *out_ << std::string(lastWidth_ - width, ' ');
    *out_ << std::flush;
    lastWidth_ = width;
    lineOpen_ = true;
}

void ConsoleProgressDisplay::CloseProgress() {
    if (lineOpen_) *out_ << "\n" << std::flush;
    lineOpen_ = false;
    lastWidth_ = 0;
}

}  // namespace clientlib
