#include "app/quorvex_dlg_win.h"

#include "app/about_dlg_win.h"
#include "app/app_base_win.h"
#include "app/context_menu_win.h"
#include "app/icon_placement.h"
#include "app/list_keys_win.h"
#include "app/log_folder_win.h"
#include "app/report_save_win.h"
#include "app/transcript_copy_win.h"
#include "catalogue/global_data_collection.h"
#include "probe/launcher.h"
#include "res/resource.h"
#include "support/secret_wipe.h"
#include "testrun/run_start.h"

static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX, "system commands use the upper bits");
static_assert(IDM_ABOUTBOX < 0xF000, "below the system's own commands");

namespace {

Text AppName() {
  ApplicationBase* const app = ApplicationBase::Current();
  return app != nullptr ? app->AppName() : Text();
}

}  // namespace

CQuorvexDlg::CQuorvexDlg()
    : DialogBase(IDD_MAIN_DIALOG),
      m_hIcon(LoadIconW(ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_progressList(ListBox::ForProcess()),
      mainWindow_(DialogMainWindow::ForProcess()) {}

void CQuorvexDlg::DoDataExchange() {
  m_progressList.Attach(GetDlgItem(IDC_PROGRESS_LIST));
  mainWindow_.Attach(GetSafeHwnd());
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
  FollowDpi(WindowDpi(GetSafeHwnd()));

  g_pProgressList = &m_progressList;
  ForwardCopyKey(GetDlgItem(IDC_PROGRESS_LIST), ID_COPY_ALL);

  // The probe launcher must exist before any worker thread runs. Tests that are not about call
  // quality may shorten the call sample; nothing can lengthen it.
  wchar_t setting[8] = {};
  const DWORD length = GetEnvironmentVariableW(L"QUORVEX_CALL_SAMPLE_MS", setting, 8);
  GetLauncher().callSettings.durationMs =
      CallDurationFrom(length > 0 && length < 8 ? Text(setting, length) : Text());

  return TRUE;
}

bool CQuorvexDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_TEST_CONNECTION && code == BN_CLICKED) {
    OnTestConnection();
    return true;
  }
  if (control == nullptr && OnListCommand(id)) return true;
  return DialogBase::OnCommand(id, code, control);
}

bool CQuorvexDlg::OnListCommand(WORD id) {
  HWND const list = GetDlgItem(IDC_PROGRESS_LIST);
  switch (id) {
    case ID_COPY_ALL:
      CopyReport(GetSafeHwnd(), runStart_);
      return true;
    case ID_COPY_LINE: {
      const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
      if (selected >= 0) CopyLine(GetSafeHwnd(), ListBoxLine(list, static_cast<int>(selected)));
      return true;
    }
    case ID_SAVE_REPORT:
      SaveReport(GetSafeHwnd(), runStart_, AppName());
      return true;
    case ID_OPEN_LOG_FOLDER:
      OpenRunLogFolder(GetSafeHwnd(), AppName());
      return true;
    default:
      return false;
  }
}

bool CQuorvexDlg::OnContextMenu(HWND window, POINT point) {
  HWND const list = GetDlgItem(IDC_PROGRESS_LIST);
  if (window != list) return false;
  if (point.x == -1 && point.y == -1) {
    point = KeyboardMenuPoint(list);
  } else {
    SelectLineAt(list, point);
  }
  // Workers go on adding lines while the menu is open, and each moves the selection to the newest;
  // "复制本行" copies the line that was selected when the menu opened.
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const Text line = selected >= 0 ? ListBoxLine(list, static_cast<int>(selected)) : Text();
  const UINT command = TrackProgressMenu(GetSafeHwnd(), point, selected >= 0);
  if (command == ID_COPY_LINE) {
    CopyLine(GetSafeHwnd(), line);
  } else if (command != 0) {
    OnListCommand(static_cast<WORD>(command));
  }
  return true;
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
  const UINT systemDpi = SystemDpi();
  const int iconWidth =
      MulDiv(GetSystemMetrics(SM_CXICON), static_cast<int>(dpi_), static_cast<int>(systemDpi));
  const int iconHeight =
      MulDiv(GetSystemMetrics(SM_CYICON), static_cast<int>(dpi_), static_cast<int>(systemDpi));
  RECT client{};
  GetClientRect(GetSafeHwnd(), &client);
  const IconOrigin origin = CentredIconOrigin(client.right - client.left,
                                              client.bottom - client.top, iconWidth, iconHeight);
  DrawIconEx(dc.get(), origin.x, origin.y, bigIcon_.valid() ? bigIcon_.get() : m_hIcon, iconWidth,
             iconHeight, 0, nullptr, DI_NORMAL);
  return true;
}

void CQuorvexDlg::OnDpiChanged(UINT dpi) {
  FollowDpi(dpi);
  InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

void CQuorvexDlg::FollowDpi(UINT dpi) {
  dpi_ = dpi;
  IconHandle big, small;
  if (dpi != SystemDpi()) {
    big = LoadIconForDpi(ResourceInstance(), IDR_MAINFRAME, 32, dpi);
    small = LoadIconForDpi(ResourceInstance(), IDR_MAINFRAME, 16, dpi);
  }
  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(big.valid() ? big.get() : m_hIcon));
  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(small.valid() ? small.get() : m_hIcon));
  // The window has let go of the earlier ones only now.
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

HCURSOR CQuorvexDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CQuorvexDlg::OnDestroy() {
  // Workers that are still running find no window from now on.
  m_progressList.Detach();
  mainWindow_.Detach();
}

void CQuorvexDlg::OnTestConnection() {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  m_progressList.ResetContent();
  runStart_.reset();

  const Text userName = WindowText(GetDlgItem(IDC_USER_NAME));
  Text password = WindowText(GetDlgItem(IDC_PASSWORD));
  if (userName.empty() || password.empty()) {
    WipeText(password);
    const Text caption = AppName();
    MessageBoxW(GetSafeHwnd(), L"用户名和密码不能为空", caption.c_str(), MB_OK);
    return;
  }

  catalogue.userName = userName;
  catalogue.password = password;
  // The edit box keeps what the user typed; this copy is done with.
  WipeText(password);

  HWND const button = GetDlgItem(IDC_TEST_CONNECTION);
  // A disabled button keeps no keyboard focus; the list takes it, so the keys still scroll it.
  if (button != nullptr && GetFocus() == button) {
    SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(IDC_PROGRESS_LIST)), TRUE);
  }
  if (button != nullptr) EnableWindow(button, FALSE);

  runStart_ = platform::LocalDateTime();
  StartTestRunWorkers(&mainWindow_);
}
