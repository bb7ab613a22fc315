#pragma once
// Key codes as the window's key-down events see them (the platform's virtual-key numbers:
// Enter 13, Tab 9, Escape 27, letters and digits as their upper-case ASCII codes).
class QKeyEvent;

namespace purge {

namespace key {
inline constexpr int kBackspace = 8, kTab = 9, kEnter = 13, kShift = 16, kControl = 17, kAlt = 18,
                     kEscape = 27, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kLeft = 37,
                     kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46, kF1 = 112;
}  // namespace key

int PlatformKeyCode(const QKeyEvent& event);
// The typed character as the key-press events see it (0..255), or -1 when the key typed no
// single character of that range.
int TypedCharacter(const QKeyEvent& event);

}  // namespace purge
