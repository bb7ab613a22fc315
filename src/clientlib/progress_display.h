#pragma once
// A small status display for long work: a title, two lines and a counter. The Qt form is a
// modeless window, the console form one updating line on standard error. The program reaches the
// installed one through progress().
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace clientlib {

class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;
    virtual void ShowProgress(const std::string& title, bool flag) = 0;
    virtual void UpdateProgress(bool flag, const std::string& line1,
                                const std::optional<std::string>& line2 = std::nullopt,
                                const std::optional<std::string>& counter = std::nullopt) = 0;
    virtual void CloseProgress() = 0;
};

// Process-wide display; before one is installed, a display that shows nothing.
ProgressDisplay& progress();
std::shared_ptr<ProgressDisplay> SetProgressDisplay(std::shared_ptr<ProgressDisplay> d);

// Writes to standard error unless given another stream. Each update rewrites one line.
class ConsoleProgressDisplay : public ProgressDisplay {
  public:
    ConsoleProgressDisplay();
    explicit ConsoleProgressDisplay(std::ostream& out);
    void ShowProgress(const std::string& title, bool flag) override;
    void UpdateProgress(bool flag, const std::string& line1,
                        const std::optional<std::string>& line2,
                        const std::optional<std::string>& counter) override;
    void CloseProgress() override;

  private:
    std::ostream* out_;
    std::size_t lastWidth_ = 0;  // characters of the line on screen, to blank them out
    bool lineOpen_ = false;
};

}  // namespace clientlib
