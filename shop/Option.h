#pragma once

// The screen-mode switch: full screen is the back end's desktop full screen showing the
// 640 x 480 screen; window mode the scaled window. A desktop of exactly 640 wide or 480
// high is never switched.

// Switches to w x h: 640 x 480 is full screen, any other size the window. On refusal a
// message box says so; false.
bool ChangeResolution(int width, int height);
// To full screen, only from window mode; true on success.
bool SetFullScreen();
// Back to the window, only from full screen; true on success.
bool RestoreDisplayMode();
// 1 while the program runs full screen (the shop window's FullScreen when it exists).
int IsFullScreenMode();
