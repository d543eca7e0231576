// The About box, opened from the main dialog's system menu.
#pragma once

#include "app/dialog_base_win.h"

class CAboutDlg : public DialogBase {
 public:
  CAboutDlg();

 protected:
  void DoDataExchange() override {}
};
