#pragma once
// Key codes as the window's key-down events see them (the platform's virtual-key numbers:
// Enter 13, Tab 9, Escape 27, letters and digits as their upper-case ASCII codes).
class QKeyEvent;

namespace purge {

int PlatformKeyCode(const QKeyEvent& event);
// The typed character as the key-press events see it (0..255), or -1 when the key typed no
// single character of that range.
int TypedCharacter(const QKeyEvent& event);

}  // namespace purge
