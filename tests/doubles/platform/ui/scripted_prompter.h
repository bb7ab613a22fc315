#pragma once
// Prompter for tests: answers come from a queue the test fills, and every box is recorded
// with its text, title, buttons and icon. A box with no queued answer fails loudly: it is
// recorded and std::logic_error is thrown, which the program's error handlers (they catch
// text::RuntimeError) do not swallow.
#include <deque>
#include <string>
#include <vector>

#include "platform/ui/ports.h"

namespace ui {

struct RecordedBox {
    bool isInput = false;
    std::string prompt;
    std::string title;  // as passed (empty when the box had none of its own)
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    std::string defaultText;  // input boxes
};

class ScriptedPrompter : public Prompter {
  public:
    // Queue the answer to the next message box (1..7) or input box (text).
    void Answer(int answer);
    void AnswerInput(std::string text);

    int MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
               const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

    const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    std::size_t PendingAnswers() const { return answers_.size() + inputs_.size(); }
    void Clear();

  private:
    std::deque<int> answers_;
    std::deque<std::string> inputs_;
    std::vector<RecordedBox> boxes_;
};

}  // namespace ui
