#include "platform/ui/message_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "platform/ui/box_buttons.h"

namespace ui {

namespace {

QStyle::StandardPixmap PixmapOf(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QStyle::SP_MessageBoxCritical;
        case Icon::Question:
            return QStyle::SP_MessageBoxQuestion;
        case Icon::Exclamation:
            return QStyle::SP_MessageBoxWarning;
        case Icon::Information:
        case Icon::None:
            break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// The letter a caption marks with "&", upper-cased; null when it has none.
QChar AccessKey(const QString& caption) {
    const qsizetype amp = caption.indexOf('&');
    if (amp < 0 || amp + 1 >= caption.size()) return {};
    return caption.at(amp + 1).toUpper();
}

QRect AvailableArea(const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

QString ButtonCaption(int answer) {
    const std::string caption = AnswerCaption(answer);
    return caption.empty() ? QString() : "&" + QString::fromStdString(caption);
}

MessageDialog::MessageDialog(const std::string& prompt, Buttons buttons, Icon icon,
                             const std::string& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      answers_(AnswersOf(buttons)),
      escapeAnswer_(EscapeAnswer(buttons)),
      answer_(escapeAnswer_),
      icon_(icon) {
    setObjectName("MsgBox");
    setWindowTitle(QString::fromStdString(title));
    setModal(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    if (icon != Icon::None) {
        auto* picture = new QLabel(this);
        picture->setObjectName("lblIcono");
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        picture->setPixmap(style()->standardIcon(PixmapOf(icon), nullptr, this).pixmap(size));
        grid->addWidget(picture, 0, 0, Qt::AlignTop);
    }
    text_ = new QLabel(this);
    text_->setObjectName("lblMensaje");
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setText(QString::fromStdString(WithLineBreaks(prompt)));
    grid->addWidget(text_, 0, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (int answer : answers_) {
        auto* button = new QPushButton(ButtonCaption(answer), this);
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            accept();
        });
        row->addWidget(button);
        buttons_.push_back(button);
    }
    row->addStretch(1);
    grid->addLayout(row, 1, 0, 1, 2);

    buttons_.front()->setDefault(true);
    buttons_.front()->setFocus();
    FitToText();
}

void MessageDialog::FitToText() {
    const QRect area = AvailableArea(parentWidget());
    // Lines are shown as given; only a line wider than most of the screen (a long error
    // text from a driver, say) makes the text wrap, within that width.
    const int widest = area.width() * 4 / 5;
    const int natural = text_->sizeHint().width();
    if (natural > widest) {
        text_->setWordWrap(true);
        text_->setFixedSize(widest, text_->heightForWidth(widest));
    } else {
        text_->setFixedSize(text_->sizeHint());
    }
    // The window manager's title bar needs the title's width plus its own buttons; its font
    // is not known here, so allow for a bold one a little larger than the program's.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 6 / 5 + 160;
    layout()->activate();
    const QSize hint = sizeHint();
    setFixedSize(std::min(std::max(hint.width(), titleWidth), area.width()), hint.height());
}

int MessageDialog::Ask() {
    answer_ = escapeAnswer_;
    exec();
    return answer_;
}

void MessageDialog::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((mods == Qt::NoModifier || mods == Qt::AltModifier) && !event->text().isEmpty()) {
        const QChar typed = event->text().at(0).toUpper();
        for (QPushButton* button : buttons_) {
            if (AccessKey(button->text()) == typed) {
                button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace ui
