#pragma once
// The program's message box: an icon, the text exactly as given (its own line breaks and
// blanks, no lines wrapped again unless one would not fit on the screen) and one button per
// answer, each with its access key. The box is at least as wide as its title needs, so the
// window manager does not elide it. The letter of a button pressed alone (S, N, A, ...)
// presses it, as Alt with the letter does.
#include <QDialog>
#include <string>
#include <vector>

#include "platform/ui/ports.h"

class QLabel;
class QPushButton;

namespace ui {

class MessageDialog : public QDialog {
  public:
    MessageDialog(const std::string& prompt, Buttons buttons, Icon icon, const std::string& title,
                  QWidget* parent = nullptr);

    // Shows the box modally; the answer of the pressed button, or the box's escape answer
    // when it was closed another way.
    int Ask();

    QLabel* TextLabel() const { return text_; }
    const std::vector<QPushButton*>& ButtonsShown() const { return buttons_; }
    Icon IconShown() const { return icon_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FitToText();

    QLabel* text_ = nullptr;  // owned by the dialog
    std::vector<QPushButton*> buttons_;
    std::vector<int> answers_;
    int escapeAnswer_;
    int answer_;
    Icon icon_;
};

// The caption of an answer's button with its access key ("&Sí", "&No", "&Aceptar", ...).
QString ButtonCaption(int answer);

}  // namespace ui
