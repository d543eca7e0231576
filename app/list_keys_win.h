// Keys of the progress list that the list box itself ignores.
#pragma once

#include <windows.h>

// Ctrl+C in the list sends the dialog `copyCommand`, as a menu accelerator would.
void ForwardCopyKey(HWND listBox, UINT copyCommand);
