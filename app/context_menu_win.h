// The progress list's context menu: "复制全部", "复制本行", "保存报告…", "打开日志文件夹".
#pragma once

#include <windows.h>

// Where the menu opens when asked for from the keyboard, in screen coordinates: at the bottom left
// of the selected line, kept inside the list so that a line scrolled out of sight (or none
// selected) puts it at the list's edge.
POINT KeyboardMenuPoint(HWND listBox);

// Makes the line under a right-click the selected one, as the line "复制本行" copies; a click
// below the last line leaves the selection alone.
void SelectLineAt(HWND listBox, POINT screenPoint);

// Shows the menu at `screenPoint` until the user chooses or dismisses it; "复制本行" is greyed
// unless a line is selected. The chosen command, 0 for none.
UINT TrackProgressMenu(HWND owner, POINT screenPoint, bool lineSelected);
