#include "purge/key_codes.h"

#include <QKeyEvent>

namespace purge {

int PlatformKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        default:
            break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
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
