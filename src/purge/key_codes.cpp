#include "purge/key_codes.h"

#include <QKeyEvent>

namespace purge {

int PlatformKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::kEnter;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return key::kTab;
        case Qt::Key_Escape:
            return key::kEscape;
        case Qt::Key_Backspace:
            return key::kBackspace;
        case Qt::Key_Delete:
            return key::kDelete;
        case Qt::Key_Insert:
            return key::kInsert;
        case Qt::Key_Home:
            return key::kHome;
        case Qt::Key_End:
            return key::kEnd;
        case Qt::Key_Left:
            return key::kLeft;
        case Qt::Key_Up:
            return key::kUp;
        case Qt::Key_Right:
            return key::kRight;
        case Qt::Key_Down:
            return key::kDown;
        case Qt::Key_PageUp:
            return key::kPageUp;
        case Qt::Key_PageDown:
            return key::kPageDown;
        case Qt::Key_Shift:
            return key::kShift;
        case Qt::Key_Control:
            return key::kControl;
        case Qt::Key_Alt:
            return key::kAlt;
        default:
            break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return key::kF1 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) ||
        key == Qt::Key_Space) {
        return key;
    }
    return 0;
}

int TypedCharacter(const QKeyEvent& event) {
    const QString typed = event.text();
    if (typed.size() != 1) return -1;
    const char16_t c = typed.at(0).unicode();
    return c < 256 ? static_cast<int>(c) : -1;
}

}  // namespace purge
