#include "app/list_keys_win.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 1;

bool Pressed(int key) { return GetKeyState(key) < 0; }

LRESULT CALLBACK ListKeysProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR copyCommand) {
  if (message == WM_KEYDOWN && wParam == 'C' && Pressed(VK_CONTROL) && !Pressed(VK_MENU)) {
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(copyCommand), 1), 0);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &ListKeysProc, kSubclassId);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void ForwardCopyKey(HWND listBox, UINT copyCommand) {
  if (listBox != nullptr) SetWindowSubclass(listBox, &ListKeysProc, kSubclassId, copyCommand);
}
