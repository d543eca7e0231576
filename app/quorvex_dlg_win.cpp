#include "app/quorvex_dlg_win.h"

#include "app/about_dlg_win.h"
#include "app/app_base_win.h"
#include "app/icon_placement.h"
#include "catalogue/global_data_collection.h"
#include "probe/launcher.h"
#include "res/resource.h"
#include "testrun/run_start.h"

static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX, "system commands use the upper bits");
static_assert(IDM_ABOUTBOX < 0xF000, "below the system's own commands");

namespace {

HINSTANCE Instance() {
  ApplicationBase* const app = ApplicationBase::Current();
  return app != nullptr && app->Instance() != nullptr ? app->Instance() : GetModuleHandleW(nullptr);
}

Text AppName() {
  ApplicationBase* const app = ApplicationBase::Current();
  return app != nullptr ? app->AppName() : Text();
}

}  // namespace

CQuorvexDlg::CQuorvexDlg()
    : DialogBase(IDD_MAIN_DIALOG),
      m_hIcon(LoadIconW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_progressList(ListBox::ForProcess()),
      m_mainWindow(DialogMainWindow::ForProcess()) {}

void CQuorvexDlg::DoDataExchange() {
  m_progressList.Attach(GetDlgItem(IDC_PROGRESS_LIST));
  m_mainWindow.Attach(GetSafeHwnd());
}

BOOL CQuorvexDlg::OnInitDialog() {
  DialogBase::OnInitDialog();

  HMENU const systemMenu = GetSystemMenu(GetSafeHwnd(), FALSE);
  if (systemMenu != nullptr) {
    const Text about = LoadResourceText(IDS_ABOUTBOX);
    if (!about.empty()) {
      AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
  }

  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  g_pProgressList = &m_progressList;

  // The probe launcher must exist before any worker thread runs.
  GetLauncher();

  return TRUE;
}

bool CQuorvexDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_TEST_CONNECTION && code == BN_CLICKED) {
    OnTestConnection();
    return true;
  }
  return DialogBase::OnCommand(id, code, control);
}

bool CQuorvexDlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return true;
  }
  return false;
}

bool CQuorvexDlg::OnPaint() {
  if (!IsIconic(GetSafeHwnd())) return false;
  PaintDc dc(GetSafeHwnd());
  SendMessageW(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client{};
  GetClientRect(GetSafeHwnd(), &client);
  const IconOrigin origin = CentredIconOrigin(client.right - client.left,
                                              client.bottom - client.top, iconWidth, iconHeight);
  DrawIcon(dc.get(), origin.x, origin.y, m_hIcon);
  return true;
}

HCURSOR CQuorvexDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CQuorvexDlg::OnDestroy() {
  // Workers that are still running find no window from now on.
  m_progressList.Detach();
  m_mainWindow.Detach();
}

void CQuorvexDlg::OnTestConnection() {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  m_progressList.ResetContent();

  const Text userName = WindowText(GetDlgItem(IDC_USER_NAME));
  const Text password = WindowText(GetDlgItem(IDC_PASSWORD));
  if (userName.empty() || password.empty()) {
    const Text caption = AppName();
    MessageBoxW(GetSafeHwnd(), L"用户名和密码不能为空", caption.c_str(), MB_OK);
    return;
  }

  catalogue.userName = userName;
  catalogue.password = password;

  HWND const button = GetDlgItem(IDC_TEST_CONNECTION);
  if (button != nullptr) EnableWindow(button, FALSE);

  StartTestRunWorkers(&m_mainWindow);
}
