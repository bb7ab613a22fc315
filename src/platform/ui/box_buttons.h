#pragma once
// What the button sets of a message box hold, shared by the prompters.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ports.h"

namespace ui {

// The answers a box with these buttons can give, left to right.
std::vector<int> AnswersOf(Buttons buttons);
// The answer a box gives when it is closed without pressing a button (Escape, the close
// button): Cancel where the box has it, No for Yes/No, OK for OK alone, Abort otherwise.
int EscapeAnswer(Buttons buttons);
// The caption of an answer's button ("Aceptar", "Cancelar", "Anular", "Reintentar",
// "Omitir", "Sí", "No"); empty for a number that is no answer.
std::string AnswerCaption(int answer);
// The text with each line break ("\r\n", or "\r" or "\n" alone) as "\n".
std::string WithLineBreaks(std::string_view text);

}  // namespace ui
