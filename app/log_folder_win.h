// "打开日志文件夹": the run log's folder in the shell's file browser.
#pragma once

#include <windows.h>

#include "support/text.h"

// Returns at once. The folder is made when missing and the shell asked on a thread of its own:
// the shell may take seconds to start its browser, and workers adding lines wait whenever the
// dialog's thread is busy. Where no folder can be made, a message box names the one tried.
void OpenRunLogFolder(HWND owner, const Text& caption);

// What asks the shell; tests put a recorder in its place, null puts the shell back.
using FolderOpener = void (*)(HWND owner, const Text& folder);
void SetFolderOpenerForTest(FolderOpener opener);
