// Keyboard and mouse input as a user gives it: through the system's input queue, to the window
// in the foreground and the control with the focus, not as messages to a chosen window.
#pragma once

#include <windows.h>

#include "support/text.h"

// Presses keys in order. `keys` is a space-separated list of chords such as "tab", "shift+f10",
// "ctrl+c", "apps", "down", "return", "escape". False, with `error` set, for a name it does not
// know.
bool PressKeys(const Text& keys, Text& error);

// Moves the pointer to `screenPoint` and clicks the right button there.
void RightClickAt(POINT screenPoint);

// Makes `window` the foreground window, whose focused control gets the keys; false if it does not
// become that within two seconds.
bool BringToFront(HWND window);
