// Putting text on the clipboard.
#pragma once

#include <windows.h>

#include "support/text.h"

// As CF_UNICODETEXT, replacing what was there. False when another program kept the clipboard
// busy or memory ran out.
bool PutTextOnClipboard(HWND owner, const Text& text);
