// quorvex_driver: drives a running Quorvex.exe from outside, as a user would, and prints what it
// sees as a transcript (UTF-8, one line per fact). Commands run in the order given:
//
//   find MS            wait up to MS ms for the main dialog
//   set-user TEXT      set the text of the user-name edit (1000)
//   set-password TEXT  set the text of the password edit (1001)
//   add-line TEXT      put a line into the progress list, as an earlier run would have
//   click              press the test button (1002), unless it is disabled
//   click-hold N       press it and hold the first N threads the press starts, before they run
//   release            let held threads run
//   messagebox MS      report the message box the dialog shows within MS ms, then press its OK
//   list               report every line of the progress list (1003) and the selection
//   button             report whether the test button is enabled
//   address            report the text of the local address line (1004)
//   wait-enabled MS    wait up to MS ms for the test button to be enabled
//   wait-address MS    wait up to MS ms for the local address line to show a text
//   about MS           open the About box from the system menu, report it, close it
//   close MS           close the dialog, see it gone within 1 s, wait up to MS ms for the program
//                      to end
//   clear-address      empty the local address line, so that wait-address sees this run's
//   mark-address       show an earlier run's address in the line (cases/case_file.h), so
//                      that wait-address sees this run's and check-case what the button found
//   clear-log          delete the program's run log, so that it holds this run's records only
//   prepare-log FILE   clear the run log and its folder, then set the log up as the whole-run case
//                      FILE says (held, blocked, a size); a held file is let go at check-case,
//                      the rest undone when the driver ends
//   check-case FILE    compare the list and the run log with a whole-run case (tests/cases)
//   wait-line TEXT     wait up to 60 s for a list line that contains TEXT
//   pause MS           let MS ms pass
//   select N           select line N of the list (-1: none), as a click on it would
//   focus-on ID        give control ID the keyboard focus, as the Tab key would
//   wait-focus ID      wait up to 5 s for control ID to have the keyboard focus
//   keys KEYS          press keys, e.g. "space", "shift+f10", "ctrl+c", "down return"
//   right-click N      right-click line N of the list with the mouse (user_input.h)
//   menu MS            wait up to MS ms for the list's context menu and report where it opened
//   menu-closed MS     wait up to MS ms for the context menu to be gone
//   clear-clipboard    empty the clipboard and note what the dialog shows, for transcript
//   transcript MS      wait up to MS ms for a copied report; check it against the dialog
//   check-report FILE  transcript 30000 (10000 lines copy slowly under Wine), then the summary
//                      against case FILE; no credentials set
//   save-as PATH       in the Save dialog (20 s) check the name offered from the report's start,
//                      then save as PATH, deleted first
//   saved-report PATH  wait up to 10 s for PATH to hold the last report in UTF-8 with a BOM
//   clipboard MS       wait up to MS ms for text on the clipboard and report it
//   remove-log-folder  delete the program's run log and the folder that holds it
//   file-browser MS    wait up to MS ms for the shell's file browser; report it, then close it
//   dpi                report the DPI the dialog is drawn at
//
// Wine hands the driver its command line through the host's locale, which may not be able to
// carry Chinese; so text arguments may spell any character as \uXXXX (UTF-16), and a backslash
// as \\. run-scenario writes every argument that way.
//
// The exit code is 0 when every command did its work, 1 when one failed (the transcript says
// which), 2 for a command line it does not understand.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "cases/case_file.h"
#include "res/resource.h"
#include "tests/cases/case_log_start.h"
#include "tests/common/temp_folder.h"
#include "tests/gui/case_check_win.h"
#include "tests/gui/clipboard_check.h"
#include "tests/gui/dialog_windows.h"
#include "tests/gui/thread_hold.h"
#include "tests/gui/transcript.h"
#include "tests/gui/user_input.h"

namespace {

constexpr int kAboutCommandMs = 5000;

constexpr int kFocusWaitMs = 5000;

struct Driver {
  Driver() { GetLocalTime(&startedAt); }
  HWND dialog = nullptr;
  ThreadHold hold;
  ULONGLONG pressedAt = 0;  // when the test button was last pressed
  Text addressAtButton;     // the address line when the button was last seen enabled
  // A run this driver started began after this.
  SYSTEMTIME startedAt{};
  // What the dialog showed before a copy.
  DialogText noted;
  // Where the last right-click went, and on which line; Wine may not tell another process the
  // pointer's position.
  std::optional<POINT> rightClicked;
  int rightClickedLine = -1;
  // The run log as a case set it up, until the driver ends.
  std::unique_ptr<CaseLogStart> logStart;
  Text userName, password;  // as set in the dialog
  Text report;              // the last report copied
};

using Command = std::function<bool(Driver&, const Text& argument)>;

struct CommandEntry {
  bool takesArgument;
  Command run;
};

// A count or a duration; 0 for anything that is not a plain decimal number.
int Milliseconds(const Text& argument) {
  int value = 0;
  for (wchar_t c : argument) {
    if (c < L'0' || c > L'9' || value > 100000000) return 0;
    value = value * 10 + (c - L'0');
  }
  return value;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

Text Unescaped(const Text& argument) {
  Text text;
  for (size_t i = 0; i < argument.size(); ++i) {
    if (argument[i] == L'\\' && i + 1 < argument.size() && argument[i + 1] == L'\\') {
      text.push_back(L'\\');
      ++i;
      continue;
    }
    if (argument[i] == L'\\' && i + 5 < argument.size() && argument[i + 1] == L'u') {
      int value = 0;
      bool hex = true;
      for (size_t d = 2; d < 6; ++d) {
        const int digit = HexDigit(argument[i + d]);
        hex = hex && digit >= 0;
        value = value * 16 + digit;
      }
      if (hex) {
        text.push_back(static_cast<wchar_t>(value));
        i += 5;
        continue;
      }
    }
    text.push_back(argument[i]);
  }
  return text;
}

bool Fail(const Text& why) {
  PrintLine(L"error: " + why);
  return false;
}

bool NeedDialog(Driver& driver) {
  if (driver.dialog == nullptr || !IsWindow(driver.dialog)) return Fail(L"no main dialog");
  return true;
}

HWND Control(Driver& driver, int id) { return GetDlgItem(driver.dialog, id); }

Text EnabledText(HWND window) { return IsWindowEnabled(window) ? L"enabled" : L"disabled"; }

bool Find(Driver& driver, const Text& argument) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Milliseconds(argument));
  while ((driver.dialog = FindMainDialog()) == nullptr) {
    if (GetTickCount64() >= end) return Fail(L"no window \"Quorvex\" after " + argument + L" ms");
    Sleep(50);
  }
  // The window can be seen before its initialisation has run; this returns after it.
  if (!Synchronise(driver.dialog)) return Fail(L"the dialog does not answer");
  PrintLine(L"dialog: " + Quoted(TextOf(driver.dialog)) + L", class " + ClassOf(driver.dialog));
  return true;
}

bool SetControlText(Driver& driver, int id, const Text& text) {
  if (!NeedDialog(driver)) return false;
  HWND const edit = Control(driver, id);
  DWORD_PTR result = 0;
  if (edit == nullptr ||
      !SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                           5000, &result)) {
    return Fail(L"cannot set the text of control " + ToText(id));
  }
  return true;
}

bool AddLine(Driver& driver, const Text& line) {
  if (!NeedDialog(driver)) return false;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Control(driver, IDC_PROGRESS_LIST), LB_INSERTSTRING, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(line.c_str()), SMTO_NORMAL, 5000, &result);
  return true;
}

// A real click on a disabled button does nothing; the driver does the same.
bool ButtonUsable(Driver& driver) {
  if (!NeedDialog(driver)) return false;
  HWND const button = Control(driver, IDC_TEST_CONNECTION);
  if (button == nullptr) return Fail(L"no test button");
  if (!IsWindowEnabled(button)) {
    PrintLine(L"click: the button is disabled, nothing happens");
    return false;
  }
  return true;
}

// Sent, not posted, like the button's own notification; the sender does not wait, so a message
// box the handler opens cannot block the driver.
void SendClick(Driver& driver) {
  driver.pressedAt = GetTickCount64();
  SendNotifyMessageW(driver.dialog, WM_COMMAND, MAKEWPARAM(IDC_TEST_CONNECTION, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(driver, IDC_TEST_CONNECTION)));
}

bool Click(Driver& driver, const Text&) {
  if (!ButtonUsable(driver)) return true;
  SendClick(driver);
  // Sent messages are handled in order: this returns once the handler has run or opened a box.
  if (!Synchronise(driver.dialog)) return Fail(L"the dialog does not answer");
  return true;
}

// The count is a number of threads.
bool ClickHold(Driver& driver, const Text& argument) {
  if (!ButtonUsable(driver)) return true;
  const int count = Milliseconds(argument);
  DWORD processId = 0;
  GetWindowThreadProcessId(driver.dialog, &processId);
  HWND const button = Control(driver, IDC_TEST_CONNECTION);
  TextList states;
  // The window's state needs no message to read, so it can be read while the process is stopped.
  const auto started = [&states, button](int index) {
    states.push_back(L"click: when thread " + ToText(index + 1) + L" started, the button was " +
                     EnabledText(button));
  };
  Text error;
  const bool held = driver.hold.HoldNewThreads(
      processId, count, 10000, [&driver] { SendClick(driver); }, started, error);
  for (const Text& state : states) PrintLine(state);
  if (!Synchronise(driver.dialog)) return Fail(L"the dialog does not answer");
  if (!held) return Fail(L"click-hold: " + error);
  PrintLine(L"click: " + ToText(driver.hold.Held()) + L" threads started, held before they ran");
  return true;
}

bool Release(Driver& driver, const Text&) {
  PrintLine(L"release: " + ToText(driver.hold.Held()) + L" threads");
  driver.hold.Release();
  return true;
}

// The buttons of a message box by their command, which unlike their texts do not depend on the
// language of the system.
Text ButtonCommands(HWND box) {
  static const std::map<int, Text> names = {
      {IDOK, L"OK"},         {IDCANCEL, L"Cancel"}, {IDABORT, L"Abort"}, {IDRETRY, L"Retry"},
      {IDIGNORE, L"Ignore"}, {IDYES, L"Yes"},       {IDNO, L"No"}};
  Text commands;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Button" || !IsWindowVisible(child)) continue;
    const auto name = names.find(GetDlgCtrlID(child));
    if (!commands.empty()) commands += L", ";
    commands += name != names.end() ? name->second : L"#" + ToText(GetDlgCtrlID(child));
  }
  return commands;
}

// The system's message box keeps its text in control 0xFFFF and its icon in 0x0440.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;

bool MessageBoxReport(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND const box = WaitForOwnedDialog(driver.dialog, kMessageBoxTextId, Milliseconds(argument));
  if (box == nullptr) {
    PrintLine(L"messagebox: none");
    return true;
  }
  DWORD_PTR icon = 0;
  HWND const iconControl = GetDlgItem(box, kMessageBoxIconId);
  if (iconControl != nullptr) {
    SendMessageTimeoutW(iconControl, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &icon);
  }
  PrintLine(L"messagebox: owned by the dialog, caption " + Quoted(TextOf(box)));
  PrintLine(L"messagebox: text " + Quoted(TextOf(GetDlgItem(box, kMessageBoxTextId))));
  PrintLine(L"messagebox: buttons " + ButtonCommands(box) +
            (icon != 0 ? L", an icon" : L", no icon"));
  PrintLine(L"messagebox: dialog " + EnabledText(driver.dialog) + L" while it is open");
  SendNotifyMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  if (!WaitUntilGone(box, 5000)) return Fail(L"the message box does not close");
  Synchronise(driver.dialog);
  PrintLine(L"messagebox: closed with OK");
  return true;
}

bool List(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  HWND const list = Control(driver, IDC_PROGRESS_LIST);
  const TextList lines = ListLines(list);
  PrintLine(L"list: " + ToText(static_cast<int32_t>(lines.size())) + L" lines");
  for (const Text& line : lines) PrintLine(L"  | " + line);
  if (!lines.empty()) PrintLine(L"list: selected " + ToText(ListSelection(list)));
  return true;
}

bool Button(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  PrintLine(L"button: " + EnabledText(Control(driver, IDC_TEST_CONNECTION)));
  return true;
}

bool Address(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  PrintLine(L"address: " + Quoted(TextOf(Control(driver, IDC_LOCAL_ADDRESS))));
  return true;
}

bool WaitFor(const Text& argument, const std::function<bool()>& condition) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Milliseconds(argument));
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
  return true;
}

bool WaitEnabled(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND const button = Control(driver, IDC_TEST_CONNECTION);
  if (!WaitFor(argument, [button] { return IsWindowEnabled(button) != FALSE; })) {
    return Fail(L"the button is still disabled after " + argument + L" ms");
  }
  PrintLine(L"button: enabled");
  driver.addressAtButton = TextOf(Control(driver, IDC_LOCAL_ADDRESS));
  if (driver.pressedAt != 0) {
    PrintNote(L"run: " + ToText(static_cast<int32_t>(GetTickCount64() - driver.pressedAt)) +
              L" ms from the press to the button enabled");
  }
  return true;
}

bool WaitAddress(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND const line = Control(driver, IDC_LOCAL_ADDRESS);
  if (!WaitFor(argument,
               [line] { return !TextOf(line).empty() && TextOf(line) != kPreviousAddressLine; })) {
    return Fail(L"the address line is still empty after " + argument + L" ms");
  }
  return Address(driver, argument);
}

Text ControlReport(HWND control) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  Text kind = ClassOf(control);
  if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &icon);
    return L"Static icon" + Text(icon != 0 ? L" shown" : L" missing");
  }
  return kind + L" " + Quoted(TextOf(control));
}

bool About(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  SendNotifyMessageW(driver.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND const box = WaitForOwnedDialog(driver.dialog, IDOK, Milliseconds(argument));
  if (box == nullptr) return Fail(L"no About box after " + argument + L" ms");
  PrintLine(L"about: caption " + Quoted(TextOf(box)));
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    PrintLine(L"about: " + ControlReport(child));
  }
  PrintLine(L"about: dialog " + EnabledText(driver.dialog) + L" while it is open");
  SendNotifyMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  if (!WaitUntilGone(box, kAboutCommandMs)) return Fail(L"the About box does not close");
  Synchronise(driver.dialog);
  PrintLine(L"about: closed, dialog " + EnabledText(driver.dialog));
  return true;
}

bool Close(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(driver.dialog, &processId);
  HANDLE const process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return Fail(L"cannot open the program's process");
  const ULONGLONG closedAt = GetTickCount64();
  SendNotifyMessageW(driver.dialog, WM_CLOSE, 0, 0);
  // The window goes at once, whatever the run still has to end.
  for (int i = 0; i < 100 && IsWindow(driver.dialog); ++i) Sleep(10);
  if (IsWindow(driver.dialog)) {
    CloseHandle(process);
    return Fail(L"the dialog is still shown 1000 ms after the close");
  }
  const DWORD wait = WaitForSingleObject(process, static_cast<DWORD>(Milliseconds(argument)));
  PrintNote(L"close: the program ended " +
            ToText(static_cast<int32_t>(GetTickCount64() - closedAt)) + L" ms after the close");
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (wait != WAIT_OBJECT_0) return Fail(L"the program has not ended after " + argument + L" ms");
  driver.dialog = nullptr;
  // A crash would end it with an exception code instead.
  PrintLine(L"closed: the program has ended with code " + ToLowerHex(code));
  return true;
}

bool ClearAddress(Driver& driver, const Text&) {
  return SetControlText(driver, IDC_LOCAL_ADDRESS, Text());
}

bool Pause(Driver&, const Text& argument) {
  Sleep(static_cast<DWORD>(_wtoi(argument.c_str())));
  return true;
}

bool MarkAddress(Driver& driver, const Text&) {
  return SetControlText(driver, IDC_LOCAL_ADDRESS, kPreviousAddressLine);
}

bool ClearLog(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  const Text path = RunLogPathOf(driver.dialog);
  if (path.empty()) return Fail(L"cannot find the program's executable");
  // No folder is as good as no file: a case may have removed it.
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
      GetLastError() != ERROR_PATH_NOT_FOUND) {
    return Fail(L"cannot delete " + path);
  }
  return true;
}

bool CheckCaseCommand(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  if (driver.logStart) driver.logStart->Release();
  return CheckCase(driver.dialog, argument, driver.addressAtButton);
}

bool WaitLine(Driver& driver, const Text& text) {
  if (!NeedDialog(driver)) return false;
  const Text limit = L"60000";
  HWND const list = Control(driver, IDC_PROGRESS_LIST);
  const auto found = [list, &text] {
    for (const Text& line : ListLines(list)) {
      if (line.find(text) != Text::npos) return true;
    }
    return false;
  };
  if (!WaitFor(limit, found))
    return Fail(L"no line with " + Quoted(text) + L" after " + limit + L" ms");
  PrintLine(L"list: a line with " + Quoted(text));
  return true;
}

DialogText Shown(Driver& driver) {
  return {TextOf(Control(driver, IDC_LOCAL_ADDRESS)),
          ListLines(Control(driver, IDC_PROGRESS_LIST))};
}

// Negative numbers allowed, for "no line".
int LineNumber(const Text& argument) {
  return !argument.empty() && argument[0] == L'-' ? -Milliseconds(argument.substr(1))
                                                  : Milliseconds(argument);
}

bool Select(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Control(driver, IDC_PROGRESS_LIST), LB_SETCURSEL,
                      static_cast<WPARAM>(LineNumber(argument)), 0, SMTO_NORMAL, 5000, &result);
  return true;
}

bool FocusOn(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND const control = Control(driver, Milliseconds(argument));
  if (control == nullptr) return Fail(L"no control " + argument);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(driver.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE,
                      SMTO_NORMAL, 5000, &result);
  return true;
}

HWND FocusedWindow(Driver& driver) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(driver.dialog, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool WaitFocus(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND const control = Control(driver, Milliseconds(argument));
  if (!WaitFor(ToText(kFocusWaitMs), [&] { return control && FocusedWindow(driver) == control; })) {
    HWND const focus = FocusedWindow(driver);
    return Fail(L"the focus is on " +
                (focus ? L"control " + ToText(GetDlgCtrlID(focus)) : Text(L"no window")) +
                L", not on control " + argument);
  }
  PrintLine(L"focus: control " + argument);
  return true;
}

bool Keys(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  if (!BringToFront(driver.dialog)) return Fail(L"the dialog does not come to the front");
  Text error;
  if (!PressKeys(argument, error)) return Fail(error);
  return true;
}

bool LineRect(Driver& driver, int line, RECT& rect) {
  HWND const list = Control(driver, IDC_PROGRESS_LIST);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(list, LB_GETITEMRECT, static_cast<WPARAM>(line),
                           reinterpret_cast<LPARAM>(&rect), SMTO_NORMAL, 5000, &result) ||
      static_cast<LRESULT>(result) == LB_ERR) {
    return false;
  }
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return true;
}

bool RightClick(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  RECT line{};
  if (!LineRect(driver, LineNumber(argument), line)) return Fail(L"no line " + argument);
  if (!BringToFront(driver.dialog)) return Fail(L"the dialog does not come to the front");
  RECT list{};
  GetClientRect(Control(driver, IDC_PROGRESS_LIST), &list);
  MapWindowPoints(Control(driver, IDC_PROGRESS_LIST), nullptr, reinterpret_cast<POINT*>(&list), 2);
  if (line.top < list.top || line.bottom > list.bottom) {
    return Fail(L"line " + argument + L" is scrolled out of sight");
  }
  driver.rightClicked = POINT{(line.left + line.right) / 2, (line.top + line.bottom) / 2};
  driver.rightClickedLine = LineNumber(argument);
  RightClickAt(*driver.rightClicked);
  return true;
}

struct MenuSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMenu(HWND window, LPARAM param) {
  auto* const search = reinterpret_cast<MenuSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || ClassOf(window) != L"#32768" || !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// The program's open menu, or null.
HWND OpenMenu(Driver& driver) {
  MenuSearch search{0, nullptr};
  GetWindowThreadProcessId(driver.dialog, &search.processId);
  EnumWindows(&FindMenu, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Another process cannot read a menu's items under Wine; what can be seen is the menu's window.
bool Menu(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND found = nullptr;
  if (!WaitFor(argument, [&] { return (found = OpenMenu(driver)) != nullptr; })) {
    return Fail(L"no context menu after " + argument + L" ms");
  }
  RECT menu{};
  GetWindowRect(found, &menu);
  HWND const list = Control(driver, IDC_PROGRESS_LIST);
  const int selected = ListSelection(list);
  RECT line{};
  RECT client{};
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const std::optional<POINT> clicked = driver.rightClicked;
  driver.rightClicked.reset();
  if (clicked && menu.left == clicked->x && menu.top == clicked->y) {
    PrintLine(L"menu: open where line " + ToText(driver.rightClickedLine) + L" was right-clicked");
  } else if (selected >= 0 && LineRect(driver, selected, line) && menu.left == line.left &&
             menu.top == line.bottom) {
    PrintLine(L"menu: open below the selected line " + ToText(selected));
  } else if (selected < 0 && menu.left == client.left && menu.top == client.top) {
    PrintLine(L"menu: open at the top left of the list, no line selected");
  } else {
    return Fail(L"the menu opened at " + ToText(menu.left) + L", " + ToText(menu.top) + L", line " +
                ToText(selected) + L" selected");
  }
  return true;
}

bool MenuClosed(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  if (!WaitFor(argument, [&] { return OpenMenu(driver) == nullptr; })) {
    return Fail(L"the context menu is still open after " + argument + L" ms");
  }
  PrintLine(L"menu: closed");
  return true;
}

bool ClearClipboard(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  if (!EmptyTheClipboard()) return Fail(L"cannot empty the clipboard");
  driver.noted = Shown(driver);
  return true;
}

bool CopiedReport(Driver& driver, const Text& argument, TextList& summary) {
  if (!NeedDialog(driver)) return false;
  const std::optional<Text> copied = WaitForClipboardText(Milliseconds(argument));
  if (!copied) return Fail(L"no text on the clipboard after " + argument + L" ms");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  driver.report = *copied;
  return CheckTranscript(*copied, driver.noted, Shown(driver), driver.startedAt, now, summary);
}

bool CheckReport(Driver& driver, const Text& argument) {
  CaseFile file;
  std::string error;
  TextList summary;
  if (!ReadCaseFile(std::filesystem::path(argument), file, error)) return Fail(FromUtf8(error));
  if (!CopiedReport(driver, L"30000", summary)) return false;
  for (const Text& typed : {driver.userName, driver.password})
    if (!typed.empty() && driver.report.find(typed) != Text::npos)
      return Fail(L"the report holds " + Quoted(typed) + L", typed into the dialog");
  if (!file.summary.empty() && !ListMatches(file.summary, summary, error))
    return Fail(L"summary: " + FromUtf8(error));
  PrintLine(L"report: no user name or password, the summary as the case says");
  return true;
}

constexpr int kFileNameBox = 0x47c;  // cmb13 of the common file dialogs

bool SaveAs(Driver& driver, const Text& path) {
  if (!NeedDialog(driver)) return false;
  HWND const box = WaitForOwnedDialog(driver.dialog, kFileNameBox, 20000);
  if (box == nullptr) return Fail(L"no Save dialog after 20000 ms");
  // The header's "yyyy-mm-dd hh:mm:ss" after the program and its version, as yyyymmdd-hhmmss.
  Text stamp =
      driver.report.substr(std::min(driver.report.size(), driver.report.find(L' ', 8) + 1), 19);
  std::erase_if(stamp, [](wchar_t c) { return c == L'-' || c == L':'; });
  std::replace(stamp.begin(), stamp.end(), L' ', L'-');
  const Text offered = TextOf(GetDlgItem(box, kFileNameBox));
  if (offered != L"Quorvex-" + stamp + L".txt")
    return Fail(L"the dialog offers " + Quoted(offered));
  PrintLine(L"save: the Save dialog offers the name of the run's start");
  // An earlier file would have the dialog ask whether to replace it.
  DeleteFileW(path.c_str());
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(box, kFileNameBox), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, &result);
  SendNotifyMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  return WaitUntilGone(box, 10000) || Fail(L"the Save dialog does not close");
}

bool SavedReport(Driver& driver, const Text& path) {
  // The program writes the file once the dialog has gone, and puts it in place whole.
  const auto saved = [&] {
    return ReadFileBytes(std::filesystem::path(path)) == "\xEF\xBB\xBF" + ToUtf8(driver.report);
  };
  if (driver.report.empty() || !WaitFor(L"10000", saved))
    return Fail(Quoted(path) + L" is not the copied report in UTF-8 with a byte-order mark");
  PrintLine(L"saved: the file holds the copied report, UTF-8 with a byte-order mark");
  return true;
}

Text Visible(const Text& text) {
  Text shown;
  for (wchar_t c : text) {
    if (c == L'\r') {
      shown += L"\\r";
    } else if (c == L'\n') {
      shown += L"\\n";
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

bool Clipboard(Driver&, const Text& argument) {
  const std::optional<Text> copied = WaitForClipboardText(Milliseconds(argument));
  PrintLine(copied ? L"clipboard: " + Quoted(Visible(*copied)) : Text(L"clipboard: empty"));
  return true;
}

Text LogFolderOf(HWND dialog) {
  const Text log = RunLogPathOf(dialog);
  return log.empty() ? log : log.substr(0, log.rfind(L'\\'));
}

bool Missing() {
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool PrepareLog(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  const Text folder = LogFolderOf(driver.dialog);
  if (folder.empty()) return Fail(L"cannot find the program's executable");
  CaseFile file;
  std::string error;
  if (!ReadCaseFile(std::filesystem::path(argument), file, error)) return Fail(FromUtf8(error));
  driver.logStart = std::make_unique<CaseLogStart>(file, std::filesystem::path(folder));
  if (!driver.logStart->ready(error)) return Fail(FromUtf8(error));
  return true;
}

bool RemoveLogFolder(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  const Text folder = LogFolderOf(driver.dialog);
  if (folder.empty()) return Fail(L"cannot find the program's executable");
  const Text log = folder + L"\\NetLog.log";
  if (!DeleteFileW(log.c_str()) && !Missing()) return Fail(L"cannot delete " + log);
  if (!RemoveDirectoryW(folder.c_str()) && !Missing()) return Fail(L"cannot remove " + folder);
  return true;
}

// Wine's shell shows a folder in a window of this class, captioned with the folder's name.
BOOL CALLBACK FindFileBrowser(HWND window, LPARAM param) {
  if (ClassOf(window) != L"ExplorerWClass" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

bool FileBrowser(Driver& driver, const Text& argument) {
  if (!NeedDialog(driver)) return false;
  HWND browser = nullptr;
  const auto shown = [&browser] {
    EnumWindows(&FindFileBrowser, reinterpret_cast<LPARAM>(&browser));
    return browser != nullptr;
  };
  if (!WaitFor(argument, shown)) return Fail(L"no file browser after " + argument + L" ms");
  PrintLine(L"file-browser: open on " + Quoted(TextOf(browser)));
  const DWORD attributes = GetFileAttributesW(LogFolderOf(driver.dialog).c_str());
  const bool folder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  PrintLine(folder ? L"file-browser: the folder log beside the program exists"
                   : L"file-browser: there is no folder log beside the program");
  PostMessageW(browser, WM_CLOSE, 0, 0);
  if (!WaitUntilGone(browser, 10000)) return Fail(L"the file browser does not close");
  return folder;
}

bool Dpi(Driver& driver, const Text&) {
  if (!NeedDialog(driver)) return false;
  // Newer than the Windows version the tools are built for, so looked up by name.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi == nullptr) return Fail(L"no GetDpiForWindow");
  PrintLine(L"dpi: the dialog is drawn at " + ToText(static_cast<int32_t>(getDpi(driver.dialog))) +
            L" DPI");
  return true;
}

const std::map<Text, CommandEntry>& Commands() {
  static const std::map<Text, CommandEntry> commands = {
      {L"find", {true, Find}},
      {L"set-user",
       {true,
        [](Driver& d, const Text& t) { return SetControlText(d, IDC_USER_NAME, d.userName = t); }}},
      {L"set-password",
       {true,
        [](Driver& d, const Text& t) { return SetControlText(d, IDC_PASSWORD, d.password = t); }}},
      {L"add-line", {true, AddLine}},
      {L"click", {false, Click}},
      {L"click-hold", {true, ClickHold}},
      {L"release", {false, Release}},
      {L"messagebox", {true, MessageBoxReport}},
      {L"list", {false, List}},
      {L"button", {false, Button}},
      {L"address", {false, Address}},
      {L"wait-enabled", {true, WaitEnabled}},
      {L"wait-address", {true, WaitAddress}},
      {L"about", {true, About}},
      {L"close", {true, Close}},
      {L"clear-address", {false, ClearAddress}},
      {L"mark-address", {false, MarkAddress}},
      {L"clear-log", {false, ClearLog}},
      {L"prepare-log", {true, PrepareLog}},
      {L"check-case", {true, CheckCaseCommand}},
      {L"wait-line", {true, WaitLine}},
      {L"pause", {true, Pause}},
      {L"select", {true, Select}},
      {L"focus-on", {true, FocusOn}},
      {L"wait-focus", {true, WaitFocus}},
      {L"keys", {true, Keys}},
      {L"right-click", {true, RightClick}},
      {L"menu", {true, Menu}},
      {L"menu-closed", {true, MenuClosed}},
      {L"clear-clipboard", {false, ClearClipboard}},
      {L"transcript",
       {true,
        [](Driver& d, const Text& t) {
          TextList s;
          return CopiedReport(d, t, s);
        }}},
      {L"check-report", {true, CheckReport}},
      {L"save-as", {true, SaveAs}},
      {L"saved-report", {true, SavedReport}},
      {L"clipboard", {true, Clipboard}},
      {L"remove-log-folder", {false, RemoveLogFolder}},
      {L"file-browser", {true, FileBrowser}},
      {L"dpi", {false, Dpi}},
  };
  return commands;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Positions in pixels, as the program, which is DPI-aware, sees them.
  SetProcessDPIAware();
  Driver driver;
  for (int i = 1; i < argc; ++i) {
    const Text name = argv[i];
    const auto found = Commands().find(name);
    if (found == Commands().end()) {
      PrintLine(L"error: unknown command " + Quoted(name));
      return 2;
    }
    Text argument;
    if (found->second.takesArgument) {
      if (i + 1 >= argc) {
        PrintLine(L"error: " + name + L" needs an argument");
        return 2;
      }
      argument = Unescaped(argv[++i]);
    }
    PrintLine(L"> " + name + (found->second.takesArgument ? L" " + Quoted(argument) : Text()));
    if (!found->second.run(driver, argument)) return 1;
  }
  return 0;
}
