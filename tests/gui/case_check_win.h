// The driver's side of a whole-run case: compares what the dialog shows and what the program
// logged with the case file.
#pragma once

#include <windows.h>

#include "support/text.h"

// The run log of the program that owns `dialog`: log\NetLog.log beside its executable.
Text RunLogPathOf(HWND dialog);

// Prints the list as a transcript, then compares it and the run log with the case at `casePath`,
// printing the first difference. `addressAtButton` is what the address line showed when the
// button came back.
bool CheckCase(HWND dialog, const Text& casePath, const Text& addressAtButton);
