// Finding Quorvex's windows from another process and reading their controls. Every read goes
// through a message that the system copies across processes, with a time limit.
#pragma once

#include <windows.h>

#include "support/text.h"

// The main dialog: class #32770, caption "Quorvex", no owner. Null when there is none.
HWND FindMainDialog();
// A visible dialog owned by `owner`; with `textControlId` non-zero only one that has that control.
HWND FindOwnedDialog(HWND owner, int textControlId);
// Waits up to `timeoutMs` for FindOwnedDialog.
HWND WaitForOwnedDialog(HWND owner, int textControlId, int timeoutMs);
// Waits up to `timeoutMs` until the window is gone; false if it is still there.
bool WaitUntilGone(HWND window, int timeoutMs);

Text TextOf(HWND window);
Text ClassOf(HWND window);

// Returns once the window's thread has handled everything sent to it before; false on time-out.
bool Synchronise(HWND window);

TextList ListLines(HWND listBox);
int ListSelection(HWND listBox);
