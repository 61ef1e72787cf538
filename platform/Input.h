#pragma once
#include <cstdint>

// Input as the back ends deliver it to the pump. Every event, live or scripted, goes
// through Application::DispatchInput, so a script replays the same way inside any
// nested loop (waits, modal windows, drags).
namespace ui {

// Shift state bits, as the class library reports them with mouse and key events.
using ShiftState = std::uint32_t;
constexpr ShiftState ssShift = 1u << 0;
constexpr ShiftState ssAlt = 1u << 1;
constexpr ShiftState ssCtrl = 1u << 2;
constexpr ShiftState ssLeft = 1u << 3;
constexpr ShiftState ssRight = 1u << 4;
constexpr ShiftState ssMiddle = 1u << 5;
constexpr ShiftState ssDouble = 1u << 6;

enum class MouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Virtual key codes (the Windows values: letters and digits are their ASCII capitals).
namespace vk {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
              Pause = 0x13, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23,
              Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
              Delete = 0x2E, F1 = 0x70, F12 = 0x7B;
}  // namespace vk

enum class InputType : std::uint8_t {
    MouseMove,    // x, y, shift
    MouseDown,    // x, y, button, shift
    MouseUp,      // x, y, button, shift
    DoubleClick,  // second press of a double click: x, y, button, shift (ssDouble set)
    KeyDown,      // key (virtual key code), shift
    KeyUp,        // key, shift
    Char,         // ch: a typed character (ASCII only)
    Close,        // the window manager asks to close the main window
    Quit,         // the system ends the program (a signal, a logout): no question asked
    Activate,     // the program's window became the active one
    Deactivate,
    Minimize,
    Restore,
    Expose,  // the window must be shown again (the screen is presented anew)
};

struct InputEvent {
    InputType type = InputType::MouseMove;
    int x = 0;  // virtual screen coordinates
    int y = 0;
    MouseButton button = MouseButton::mbLeft;
    ShiftState shift = 0;
    int key = 0;
    char ch = 0;
};

// The shift bit of a mouse button.
constexpr ShiftState ButtonBit(MouseButton b) {
    return b == MouseButton::mbLeft ? ssLeft : b == MouseButton::mbRight ? ssRight : ssMiddle;
}

}  // namespace ui
