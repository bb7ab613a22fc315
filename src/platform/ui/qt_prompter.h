#pragma once
// Prompter on Qt: the program's own MessageDialog for message boxes and QInputDialog for
// input boxes, modal over the active window, with the buttons captioned in Spanish.
#include "platform/ui/ports.h"

namespace ui {

class QtPrompter : public Prompter {
  public:
    int MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
               const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
};

}  // namespace ui
