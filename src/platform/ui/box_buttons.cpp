#include "platform/ui/box_buttons.h"

namespace ui {

std::vector<int> AnswersOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return {kOK};
        case Buttons::OKCancel:
            return {kOK, kCancel};
        case Buttons::AbortRetryIgnore:
            return {kAbort, kRetry, kIgnore};
        case Buttons::YesNoCancel:
            return {kYes, kNo, kCancel};
        case Buttons::YesNo:
            return {kYes, kNo};
        case Buttons::RetryCancel:
            return {kRetry, kCancel};
    }
    return {kOK};
}

int EscapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return kOK;
        case Buttons::YesNo:
            return kNo;
        case Buttons::AbortRetryIgnore:
            return kAbort;
        case Buttons::OKCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return kCancel;
    }
    return kCancel;
}

std::string AnswerCaption(int answer) {
    switch (answer) {
        case kOK:
            return "Aceptar";
        case kCancel:
            return "Cancelar";
        case kAbort:
            return "Anular";
        case kRetry:
            return "Reintentar";
        case kIgnore:
            return "Omitir";
        case kYes:
            return "Sí";
        case kNo:
            return "No";
        default:
            return {};
    }
}

std::string WithLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace ui
