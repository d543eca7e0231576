// The main dialog run inside the test process, for what the driver cannot see from outside: the
// system menu, the catalogue, the list as workers fill it, and closing while a run goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "app/list_box_win.h"
#include "app/main_window.h"
#include "app/progress_list.h"
#include "app/quorvex_dlg_win.h"
#include "catalogue/global_data_collection.h"
#include "res/resource.h"
#include "support/service_library.h"
#include "testrun/service_urls.h"
#include "tests/common/scripted_service_library.h"

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

}  // namespace
