#include "platform/ui/qt_prompter.h"

#include <QApplication>
#include <QInputDialog>

#include "platform/ui/box_buttons.h"
#include "platform/ui/message_dialog.h"

namespace ui {

namespace {

std::string ShownTitle(const std::string& title) {
    return title.empty() ? ApplicationTitle() : title;
}

}  // namespace

int QtPrompter::MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
                       const std::string& title) {
    MessageDialog box(prompt, buttons, icon, ShownTitle(title), QApplication::activeWindow());
    return box.Ask();
}

std::string QtPrompter::InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QString::fromStdString(ShownTitle(title)));
    dialog.setLabelText(QString::fromStdString(WithLineBreaks(prompt)));
    dialog.setTextValue(QString::fromStdString(defaultText));
    dialog.setOkButtonText(ButtonCaption(kOK));
    dialog.setCancelButtonText(ButtonCaption(kCancel));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace ui
