#include "platform/ui/scripted_prompter.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/box_buttons.h"

namespace ui {

void ScriptedPrompter::Answer(int answer) {
    answers_.push_back(answer);
}

void ScriptedPrompter::AnswerInput(std::string text) {
    inputs_.push_back(std::move(text));
}

int ScriptedPrompter::MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
                             const std::string& title) {
    boxes_.push_back(RecordedBox{false, prompt, title, buttons, icon, {}});
    if (answers_.empty())
        throw std::logic_error("unexpected message box (no answer queued): [" + title + "] " +
                               prompt);
    const int answer = answers_.front();
    answers_.pop_front();
    // An answer the box cannot give means the test and the program disagree on the box.
    const auto allowed = AnswersOf(buttons);
    if (std::find(allowed.begin(), allowed.end(), answer) == allowed.end())
        throw std::logic_error("queued answer " + std::to_string(answer) +
                               " is not a button of the message box: [" + title + "] " + prompt);
    return answer;
}

std::string ScriptedPrompter::InputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
    boxes_.push_back(RecordedBox{true, prompt, title, Buttons::OKCancel, Icon::None, defaultText});
    if (inputs_.empty())
        throw std::logic_error("unexpected input box (no answer queued): [" + title + "] " +
                               prompt);
    std::string answer = std::move(inputs_.front());
    inputs_.pop_front();
    return answer;
}

void ScriptedPrompter::Clear() {
    answers_.clear();
    inputs_.clear();
    boxes_.clear();
}

}  // namespace ui
