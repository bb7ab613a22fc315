#include "platform/ui/console_prompter.h"

#include <iostream>

#include "platform/ui/box_buttons.h"

namespace ui {

namespace {

const char* IconLabel(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return "ERROR";
        case Icon::Question:
            return "PREGUNTA";
        case Icon::Exclamation:
            return "ATENCIÓN";
        case Icon::Information:
            return "INFORMACIÓN";
        case Icon::None:
            break;
    }
    return "";
}

std::string ShownTitle(const std::string& title) {
    return title.empty() ? ApplicationTitle() : title;
}

}  // namespace

ConsolePrompter::ConsolePrompter(std::ostream& out)
    : out_(out),
      answers_{{Buttons::OK, kOK},
               {Buttons::OKCancel, kOK},
               {Buttons::AbortRetryIgnore, kAbort},
               {Buttons::YesNoCancel, kCancel},
               {Buttons::YesNo, kNo},
               {Buttons::RetryCancel, kCancel}} {}

ConsolePrompter::ConsolePrompter() : ConsolePrompter(std::cerr) {}

void ConsolePrompter::SetAnswer(Buttons buttons, int answer) {
    answers_[buttons] = answer;
}

int ConsolePrompter::MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
                            const std::string& title) {
    const int answer = msgPolicy_ ? msgPolicy_(prompt, buttons, icon, title) : answers_.at(buttons);
    out_ << "[" << ShownTitle(title) << "]";
    if (icon != Icon::None) out_ << " " << IconLabel(icon);
    out_ << "\n" << WithLineBreaks(prompt) << "\n";
    std::string choices;
    for (int a : AnswersOf(buttons)) choices += (choices.empty() ? "" : "/") + AnswerCaption(a);
    const std::string caption = AnswerCaption(answer);
    out_ << "  (" << choices << ") -> " << (caption.empty() ? std::to_string(answer) : caption)
         << std::endl;
    return answer;
}

std::string ConsolePrompter::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
    std::string answer = inputPolicy_ ? inputPolicy_(prompt, title, defaultText) : defaultText;
    out_ << "[" << ShownTitle(title) << "]\n"
         << WithLineBreaks(prompt) << "\n  -> \"" << answer << "\"" << std::endl;
    return answer;
}

}  // namespace ui
