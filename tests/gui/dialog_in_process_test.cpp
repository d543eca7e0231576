// The main dialog run inside the test process, for what the driver cannot see from outside: the
// system menu, the catalogue, the list as workers fill it, and closing while a run goes on.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "app/list_box_win.h"
#include "app/log_folder_win.h"
#include "app/quorvex_dlg_win.h"
#include "app/report_save_win.h"
#include "app/window_dpi_win.h"
#include "catalogue/global_data_collection.h"
#include "res/resource.h"
#include "shell/main_window.h"
#include "shell/progress_list.h"
#include "support/run_log.h"
#include "support/service_library.h"
#include "testrun/service_urls.h"
#include "tests/common/file_hold.h"
#include "tests/common/scripted_service_library.h"
#include "tests/common/temp_folder.h"

namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

HWND FindOurDialog() {
  HWND window = nullptr;
  WaitUntil(
      [&window] {
        window = FindWindowW(L"#32770", L"Quorvex");
        DWORD process = 0;
        if (window != nullptr) GetWindowThreadProcessId(window, &process);
        return window != nullptr && process == GetCurrentProcessId();
      },
      10s);
  return window;
}

class DialogInProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = std::make_shared<ScriptedServiceLibrary>();
    InstallServiceLibrary(library_);
  }
  void TearDown() override {
    library_->ReleaseDelays();
    InstallServiceLibrary(nullptr);
  }

  // Runs the dialog on this thread, as the program does, and `body` on a second thread once the
  // window is there. The dialog is closed when the body returns.
  void RunDialog(const std::function<void(HWND)>& body) {
    CQuorvexDlg dialog;
    SetAppMainWindow(&dialog.WorkerView());
    std::thread helper([&body] {
      HWND const window = FindOurDialog();
      if (window == nullptr) {
        ADD_FAILURE() << "the dialog did not appear";
        return;
      }
      // Handled only once the dialog's initialisation has returned.
      SendMessageW(window, WM_NULL, 0, 0);
      body(window);
      PostMessageW(window, WM_CLOSE, 0, 0);
    });
    dialog.DoModal();
    helper.join();
  }

  static void SetEdit(HWND window, int id, const Text& text) {
    SendDlgItemMessageW(window, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  static void Click(HWND window) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_CONNECTION, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TEST_CONNECTION)));
  }

  static bool ButtonEnabled(HWND window) {
    return IsWindowEnabled(GetDlgItem(window, IDC_TEST_CONNECTION)) != FALSE;
  }

  static TextList Lines(HWND window) {
    HWND const list = GetDlgItem(window, IDC_PROGRESS_LIST);
    TextList lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      Text line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      line.resize(static_cast<size_t>(
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
      lines.push_back(line);
    }
    return lines;
  }

  std::shared_ptr<ScriptedServiceLibrary> library_;
};

TEST_F(DialogInProcessTest, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
  RunDialog([](HWND window) {
    HMENU const menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);

    MENUITEMINFOW separator{};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);

    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(Text(text), L"关于 Quorvex(&A)...");
  });
}

TEST_F(DialogInProcessTest, IconIsSetAndServesAsDragIcon) {
  RunDialog([](HWND window) {
    const auto icon = reinterpret_cast<LRESULT>(
        LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    ASSERT_NE(icon, 0);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), icon);
    // A dialog procedure returns this one's result itself; through DWLP_MSGRESULT it would be 0.
    EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), icon);
  });
}

TEST_F(DialogInProcessTest, IconsFollowTheWindowToAMonitorOfTwiceTheDpi) {
  RunDialog([](HWND window) {
    const auto width = [window](WPARAM which) {
      ICONINFO info{};
      const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
      if (icon == nullptr || !GetIconInfo(icon, &info)) return LONG{0};
      BITMAP bitmap{};
      GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      return bitmap.bmWidth;
    };
    const UINT twice = 2 * SystemDpi();
    RECT rect{};
    GetWindowRect(window, &rect);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(twice, twice), reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(width(ICON_BIG), 2 * GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(width(ICON_SMALL), 2 * GetSystemMetrics(SM_CXSMICON));
  });
}

TEST_F(DialogInProcessTest, WorkerLinesKeepTheirOrderAndTheNewestIsSelected) {
  RunDialog([](HWND window) {
    // Appends come from worker threads; this helper thread is one.
    AppendProgressLine(
        L"开始登陆------------------------------------------------------------Begin");
    AppendProgressLine(L"");
    AppendProgressLine(
        L"多点HTTP节点登陆------------------------------------------------------------Begin");
    SendDlgItemMessageW(window, IDC_PROGRESS_LIST, LB_SETCURSEL, 0, 0);
    AppendProgressLine(L"b");
    AppendProgressLine(L"a");

    const TextList expected = {
        L"开始登陆------------------------------------------------------------Begin", L"",
        L"多点HTTP节点登陆------------------------------------------------------------Begin", L"b",
        L"a"};
    EXPECT_EQ(Lines(window), expected) << "the sort style must not reorder appended lines";
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_PROGRESS_LIST, LB_GETCURSEL, 0, 0), 4);
  });
}

TEST_F(DialogInProcessTest, SpacesOnlyCredentialsAreStoredAsEnteredAndTheRunReachesTheWindow) {
  library_->ScriptLocalAddress(L"198.18.0.7");
  RunDialog([this](HWND window) {
    SetEdit(window, IDC_USER_NAME, L"   ");
    SetEdit(window, IDC_PASSWORD, L" p w ");
    Click(window);  // returns once the handler has started the run

    GlobalDataCollection& catalogue = GetGlobalDataCollection();
    EXPECT_EQ(catalogue.userName, L"   ");
    EXPECT_EQ(catalogue.password, L" p w ");
    ASSERT_TRUE(WaitUntil([window] { return ButtonEnabled(window); }, 20s))
        << "the run gives the button back";
    EXPECT_EQ(library_->CountCalls("HttpLogin    | p w  at "), 2) << "both servers, unchanged";
    EXPECT_TRUE(WaitUntil(
        [window] {
          wchar_t text[64] = {};
          GetDlgItemTextW(window, IDC_LOCAL_ADDRESS, text, 64);
          return Text(text) == L"本机IP为：198.18.0.7";
        },
        10s))
        << "the address thread sets control 1004";
  });
}

TEST_F(DialogInProcessTest, ClosingDuringARunLeavesTheWorkersNothingToTouch) {
  ScriptedLogin slow = ScriptedLogin::Refuse(500);
  slow.delay = 1500ms;
  library_->Script(ImServerUrl(), slow);

  RunDialog([](HWND window) {
    SetEdit(window, IDC_USER_NAME, L"user");
    SetEdit(window, IDC_PASSWORD, L"secret");
    Click(window);
    EXPECT_FALSE(ButtonEnabled(window)) << "the first login is still waiting";
  });

  // The dialog is gone; the run goes on and ends without it.
  EXPECT_EQ(ListBox::ForProcess().GetSafeHwnd(), nullptr);
  EXPECT_TRUE(WaitUntil([this] { return library_->CountCalls("HttpLogout") == 1; }, 20s))
      << "the run did not end after the dialog closed";
}

// The items of the context menu the dialog shows for the list, opened as Shift+F10 would; the
// menu is closed again before this returns. Another process cannot read them under Wine.
// One item a line: "-" for a separator, else its text, command and, when greyed, "greyed".
TextList ShownMenuItems(HWND window) {
  PostMessageW(window, WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_PROGRESS_LIST)), -1);
  HWND popup = nullptr;
  const auto open = [&popup] {
    popup = FindWindowW(L"#32768", nullptr);
    return popup != nullptr && IsWindowVisible(popup);
  };
  if (!WaitUntil(open, 10s)) return {};
  auto* const menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  TextList items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      items.push_back(L"-");
      continue;
    }
    items.push_back(Text(text) + L" #" + ToText(static_cast<int32_t>(GetMenuItemID(menu, i))) +
                    (state & MF_GRAYED ? L" greyed" : L""));
  }
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([popup] { return !IsWindowVisible(popup); }, 10s);
  return items;
}

TEST_F(DialogInProcessTest, ContextMenuHasItsCommandsAndGreysCopyLineWithNoLineSelected) {
  RunDialog([](HWND window) {
    AppendProgressLine(L"a");
    AppendProgressLine(L"b");
    EXPECT_EQ(ShownMenuItems(window),
              TextList({L"复制全部 #32771", L"复制本行 #32772", L"保存报告… #32774", L"-",
                        L"打开日志文件夹 #32773"}))
        << "the newest line is selected";
    SendDlgItemMessageW(window, IDC_PROGRESS_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(ShownMenuItems(window),
              TextList({L"复制全部 #32771", L"复制本行 #32772 greyed", L"保存报告… #32774", L"-",
                        L"打开日志文件夹 #32773"}));
  });
}

// Without a run the Save dialog offers Documents and a name of now; Cancel writes nothing.
TEST_F(DialogInProcessTest, SaveReportOffersDocumentsAndTheTimeAndCancelWritesNothing) {
  RunDialog([](HWND window) {
    PostMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = GetLastActivePopup(window)) != window; }, 20s));
    wchar_t folder[MAX_PATH] = {}, name[MAX_PATH] = {}, documents[MAX_PATH] = {};
    SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    SendMessageW(box, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    EXPECT_EQ(Text(folder), Text(documents));
    // The date from the C runtime's clock, not from the code under test.
    const std::time_t now = std::time(nullptr);
    std::ostringstream today;
    today << "Quorvex-" << std::put_time(std::localtime(&now), "%Y%m%d") << "-";
    EXPECT_EQ(ToUtf8(Text(name)).substr(0, 17), today.str());
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([box] { return !IsWindow(box); }, 10s));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(documents) / name));
  });
}

// Another program holding the file, or its folder gone: the earlier file stays whole, and nothing
// is left beside it.
TEST(ReportFileTest, AFailedWriteLeavesTheEarlierFileWholeAndNothingBesideIt) {
  TempFolder temp;
  const std::filesystem::path file = temp.path() / "report.txt";
  ASSERT_TRUE(WriteReportFile(file.wstring(), L"先\r\n"));
  {
    ExclusiveFileHold hold(file);
    ASSERT_TRUE(hold.held());
    EXPECT_FALSE(WriteReportFile(file.wstring(), L"后\r\n"));
  }
  EXPECT_FALSE(WriteReportFile((temp.path() / "gone" / "report.txt").wstring(), L"后\r\n"));
  EXPECT_EQ(ReadFileBytes(file), "\xEF\xBB\xBF" + ToUtf8(L"先\r\n"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

TEST(ReportFileTest, AFolderPastMaxPathTakesTheReport) {
  TempFolder temp;
  std::filesystem::path folder = temp.path();
  while (folder.wstring().size() <= 300) folder /= std::wstring(60, L'd');
  ASSERT_TRUE(std::filesystem::create_directories(folder));
  ASSERT_TRUE(WriteReportFile((folder / "report.txt").wstring(), L"长\r\n"));
  EXPECT_EQ(ReadFileBytes(folder / "report.txt"), "\xEF\xBB\xBF" + ToUtf8(L"长\r\n"));
}

// Stands in for the shell: records what it was asked, on which thread, and whether the folder was
// there by then.
struct OpenRequest {
  HWND owner = nullptr;
  Text folder;
  DWORD threadId = 0;
  bool existed = false;
};
std::atomic<OpenRequest*> openRequest{nullptr};

void RecordOpen(HWND owner, const Text& folder) {
  auto* const request =
      new OpenRequest{owner, folder, GetCurrentThreadId(),
                      std::filesystem::is_directory(std::filesystem::path(folder))};
  delete openRequest.exchange(request);
}

TEST_F(DialogInProcessTest, OpenLogFolderMakesTheRunLogsFolderAndAsksTheShellOffTheDialogsThread) {
  TempFolder temp;
  const Text base = temp.text() + L"\\app";
  SetRunLogBaseDirectoryForTest(base);
  SetFolderOpenerForTest(&RecordOpen);
  RunDialog([&base](HWND window) {
    SendMessageW(window, WM_COMMAND, ID_OPEN_LOG_FOLDER, 0);
    ASSERT_TRUE(WaitUntil([] { return openRequest.load() != nullptr; }, 10s));
    const OpenRequest& request = *openRequest.load();
    EXPECT_EQ(request.folder, base + L"\\log");
    EXPECT_TRUE(request.existed) << "made, with its missing parent, before the shell is asked";
    EXPECT_EQ(request.owner, window);
    EXPECT_NE(request.threadId, GetWindowThreadProcessId(window, nullptr));
  });
  SetFolderOpenerForTest(nullptr);
  SetRunLogBaseDirectoryForTest(Text());
  delete openRequest.exchange(nullptr);
}

// Every text of a dialog fits its control at the display's DPI, measured with the control's own
// font as the control draws it: statics wrap at words, the button keeps one line inside its frame.
// The measures go to the output, so a run at another DPI shows the margins left.
void ExpectTextsFit(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    const Text text = WindowText(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const bool button = Text(kind) == L"Button";
    const bool label = Text(kind) == L"Static" && (style & SS_TYPEMASK) != SS_ICON;
    if (text.empty() || !(button || label)) continue;

    RECT client{};
    GetClientRect(child, &client);
    // A push button's frame and focus rectangle take a few pixels on every side.
    if (button) InflateRect(&client, -3, -3);
    RECT needed{0, 0, client.right - client.left, 0};
    UINT format = DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK);
    if (!button && (style & SS_NOPREFIX)) format |= DT_NOPREFIX;
    HDC const dc = GetDC(child);
    HGDIOBJ const previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, previous);
    ReleaseDC(child, dc);

    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    std::cout << ToUtf8(text) << ": needs " << needed.right << " x " << needed.bottom << " of "
              << width << " x " << height << " pixels\n";
    EXPECT_LE(needed.right, width) << ToUtf8(text);
    EXPECT_LE(needed.bottom, height) << ToUtf8(text) << " wraps beyond its control";
  }
}

TEST_F(DialogInProcessTest, EveryTextFitsItsControlAtTheDisplaysDpi) {
  RunDialog([](HWND window) {
    HDC const screen = GetDC(nullptr);
    std::cout << "display: " << GetDeviceCaps(screen, LOGPIXELSX) << " DPI\n";
    ReleaseDC(nullptr, screen);
    // The longest address line a run can show.
    SetDlgItemTextW(window, IDC_LOCAL_ADDRESS, L"本机IP为：255.255.255.255");
    ExpectTextsFit(window);

    PostMessageW(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&about] { return (about = FindWindowW(L"#32770", L"关于 Quorvex")) != nullptr; }, 10s));
    SendMessageW(about, WM_NULL, 0, 0);
    ExpectTextsFit(about);
    SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
}

}  // namespace
