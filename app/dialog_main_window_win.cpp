#include "app/dialog_main_window_win.h"

#include "res/resource.h"

DialogMainWindow& DialogMainWindow::ForProcess() {
  static DialogMainWindow* const window = new DialogMainWindow;
  return *window;
}

void DialogMainWindow::EnableTestButton() {
  HWND const dialog = dialog_.load();
  if (dialog == nullptr) return;
  HWND const button = GetDlgItem(dialog, IDC_TEST_CONNECTION);
  if (button != nullptr) EnableWindow(button, TRUE);
}

void DialogMainWindow::SetLocalAddressText(const Text& text) {
  HWND const dialog = dialog_.load();
  if (dialog != nullptr) SetDlgItemTextW(dialog, IDC_LOCAL_ADDRESS, text.c_str());
}
