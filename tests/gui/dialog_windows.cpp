#include "tests/gui/dialog_windows.h"

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

struct OwnedSearch {
  HWND owner;
  int textControlId;
  HWND found;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
  if (ClassOf(window) == L"#32770" && TextOf(window) == L"Quorvex" &&
      GetWindow(window, GW_OWNER) == nullptr) {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
  auto* const search = reinterpret_cast<OwnedSearch*>(param);
  if (ClassOf(window) != L"#32770" || GetWindow(window, GW_OWNER) != search->owner ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  if (search->textControlId != 0 && GetDlgItem(window, search->textControlId) == nullptr) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kMessageTimeoutMs,
                           &result)) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

HWND FindMainDialog() {
  HWND found = nullptr;
  EnumWindows(&FindMain, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindOwnedDialog(HWND owner, int textControlId) {
  OwnedSearch search{owner, textControlId, nullptr};
  EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForOwnedDialog(HWND owner, int textControlId, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    HWND const found = FindOwnedDialog(owner, textControlId);
    if (found != nullptr || GetTickCount64() >= end) return found;
    Sleep(20);
  }
}

bool WaitUntilGone(HWND window, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (IsWindow(window)) {
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
  return true;
}

Text TextOf(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return Text();
  Text text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

Text ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return Text(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool Synchronise(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kMessageTimeoutMs, &result) != 0;
}

TextList ListLines(HWND listBox) {
  TextList lines;
  const LRESULT count = Send(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = Send(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) {
      lines.push_back(L"<unreadable>");
      continue;
    }
    Text line(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
    line.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    lines.push_back(line);
  }
  return lines;
}

int ListSelection(HWND listBox) { return static_cast<int>(Send(listBox, LB_GETCURSEL, 0, 0)); }
