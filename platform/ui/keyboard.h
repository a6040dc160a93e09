#pragma once

class QKeyEvent;

namespace platform {

// Key codes as the tool's handlers compare them (the virtual-key numbering).
namespace vk {
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int F2 = 113;
} // namespace vk

// The key code of a key press; 0 for keys the tool has no number for.
int virtualKeyCode(const QKeyEvent& event);

// Sends Tab (or Shift+Tab) to the focused control of the active window and returns once it
// has been handled, so the focus has moved when this returns.
void sendTabKeystroke(bool backwards);

} // namespace platform
