#include "app/about_dlg_win.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : DialogBase(IDD_ABOUTBOX) {}
