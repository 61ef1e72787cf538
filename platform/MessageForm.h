#pragma once
#include "platform/Backend.h"

// A message box drawn as a form of the program's own, with the game's fonts, in the
// window and in full screen alike: the caption on the title bar, a sign for an error, a
// warning or a question, the text line by line, and the buttons centred below it
// (是/否, 確定/取消, 重試/取消 or 確定). Enter presses the first button, Escape the
// one that cancels (否 or 取消; 確定 when it is alone). Modal: the other forms take no
// input until it is answered.
namespace ui {

int RunMessageForm(const MessageBoxRequest& request);

}  // namespace ui
