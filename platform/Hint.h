#pragma once
#include <cstdint>
#include <string>

#include "platform/Bitmap.h"

// Hints: when the mouse rests on a control with ShowHint and a Hint for the pause
// time, a small tooltip window shows the hint below the pointer; it goes when the
// mouse leaves the control, a button or key is pressed, or the hide time has passed.
namespace ui {

class Control;

struct HintSettings {
    std::uint32_t pause = 500;       // ms of rest before the hint shows
    std::uint32_t hidePause = 2500;  // ms the hint stays
    TColor color = 0xE1FFFF;         // the tooltip's background (pale yellow)
};
HintSettings& Hints();

// The hint shown now, if any.
bool HintShowing();
const std::string& HintText();
Rect HintBounds();  // screen rectangle of the hint window

// For the window layer: the control under the mouse changed or the mouse moved
// (null: none), and anything that ends a hint.
void HintMouseOver(Control* control, int screenX, int screenY);
void CancelHint();
// Drops the hint window and its timers (when the last form goes).
void ShutDownHints();

}  // namespace ui
