#pragma once
// Qt key events as the platform's virtual-key codes and shift states that the lookup
// windows' key handling is written for: Enter 13, Backspace 8, Space 32, Page Up 33,
// Page Down 34, arrows 37-40, Insert 45, Delete 46, digits and letters as their upper-case
// ASCII codes, keypad digits 96-105, keypad operators 106-111, F1-F24 112-135.
class QKeyEvent;

namespace lookup {

int VirtualKeyCode(const QKeyEvent& event);
// 1 Shift, 2 Ctrl, 4 Alt, added together; 0 for no modifier.
int ShiftState(const QKeyEvent& event);

}  // namespace lookup
