#include "platform/ui/qt_prompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "platform/ui/box_buttons.h"

namespace ui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString ShownTitle(const std::string& title) {
    return Q(title.empty() ? ApplicationTitle() : title);
}

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQt(int answer) {
    switch (answer) {
        case kOK:
            return QMessageBox::Ok;
        case kCancel:
            return QMessageBox::Cancel;
        case kAbort:
            return QMessageBox::Abort;
        case kRetry:
            return QMessageBox::Retry;
        case kIgnore:
            return QMessageBox::Ignore;
        case kYes:
            return QMessageBox::Yes;
        case kNo:
            return QMessageBox::No;
        default:
            return QMessageBox::NoButton;
    }
}

}  // namespace

int QtPrompter::MsgBox(const std::string& prompt, Buttons buttons, Icon icon,
                       const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ShownTitle(title));
    box.setText(Q(WithLineBreaks(prompt)));
    box.setIcon(ToQt(icon));

    std::vector<std::pair<QAbstractButton*, int>> answers;
    for (int answer : AnswersOf(buttons)) {
        QPushButton* button = box.addButton(ToQt(answer));
        button->setText(Q(AnswerCaption(answer)));
        answers.emplace_back(button, answer);
        if (answer == EscapeAnswer(buttons)) box.setEscapeButton(button);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(answers.front().first));
    box.exec();

    const QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, answer] : answers)
        if (button == clicked) return answer;
    return EscapeAnswer(buttons);
}

std::string QtPrompter::InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(ShownTitle(title));
    dialog.setLabelText(Q(WithLineBreaks(prompt)));
    dialog.setTextValue(Q(defaultText));
    dialog.setOkButtonText(Q(AnswerCaption(kOK)));
    dialog.setCancelButtonText(Q(AnswerCaption(kCancel)));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace ui
