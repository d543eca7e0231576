#include "app/quorvex_app_win.h"

#include <commctrl.h>

#include "app/quorvex_dlg_win.h"
#include "shell/main_window.h"

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "size and class set, nothing else");

// The one application object.
CQuorvexApp theApp;

bool CQuorvexApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);

  ApplicationBase::InitInstance();
  // Nothing here hosts ActiveX controls or keeps settings, so there is no control container to
  // enable and no registry key to name.

  CQuorvexDlg dialog;
  m_pMainWnd = &dialog;
  SetAppMainWindow(&dialog.WorkerView());
  dialog.DoModal();
  m_pMainWnd = nullptr;

  // No message loop after the dialog: the program ends.
  return false;
}
