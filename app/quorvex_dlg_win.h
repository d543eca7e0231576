// The main dialog: the credentials, the test button, the progress list and the local address.
#pragma once

#include <windows.h>

#include <optional>

#include "app/dialog_base_win.h"
#include "app/dialog_main_window_win.h"
#include "app/list_box_win.h"
#include "app/window_dpi_win.h"
#include "support/platform_process.h"

class CQuorvexDlg : public DialogBase {
 public:
  CQuorvexDlg();

  // What workers see of this dialog; outlives it.
  MainWindow& WorkerView() { return mainWindow_; }

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnSysCommand(UINT id, LPARAM lParam) override;
  bool OnPaint() override;
  bool OnContextMenu(HWND window, POINT point) override;
  HCURSOR OnQueryDragIcon() override;
  void OnDestroy() override;
  void OnDpiChanged(UINT dpi) override;

 private:
  void OnTestConnection();
  // The list's commands, from WM_COMMAND (Ctrl+C, another program) or from the menu.
  bool OnListCommand(WORD id);
  // The title bar's and task bar's icons drawn for `dpi`: m_hIcon at the system's DPI, icons
  // of the window's own elsewhere.
  void FollowDpi(UINT dpi);

  // Shared by the system, never destroyed.
  HICON m_hIcon;
  ListBox& m_progressList;
  DialogMainWindow& mainWindow_;
  // When the run the list shows started; none before the first run and after a refused press.
  std::optional<platform::DateTime> runStart_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
};
