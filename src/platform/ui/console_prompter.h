#pragma once
// Prompter for batch mode: every box is written to standard error (or the given stream) and
// answered by a policy the caller sets, without waiting for anybody.
#include <functional>
#include <iosfwd>
#include <map>
#include <string>

#include "platform/ui/ports.h"

namespace ui {

class ConsolePrompter : public Prompter {
  public:
    using MsgPolicy = std::function<int(const std::string& prompt, Buttons buttons, Icon icon,
                                        const std::string& title)>;
    using InputPolicy = std::function<std::string(
        const std::string& prompt, const std::string& title, const std::string& defaultText)>;

    // Until told otherwise a box is answered with what does nothing it was not asked to:
    // OK, OK, Abort, Cancel, No, Cancel for the six button sets, and an input box with its
    // default text.
    explicit ConsolePrompter(std::ostream& out);
    ConsolePrompter();

    // The fixed answer for boxes with these buttons.
    void SetAnswer(Buttons buttons, int answer);
    // A callback that decides every message box (overrides the fixed answers).
    void SetPolicy(MsgPolicy policy) { msgPolicy_ = std::move(policy); }
    void SetInputPolicy(InputPolicy policy) { inputPolicy_ = std::move(policy); }

    int MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
               const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

  private:
    std::ostream& out_;
    std::map<Buttons, int> answers_;
    MsgPolicy msgPolicy_;
    InputPolicy inputPolicy_;
};

}  // namespace ui
