#include "app/list_box_win.h"

ListBox& ListBox::ForProcess() {
  static ListBox* const list = new ListBox;
  return *list;
}

LRESULT ListBox::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND const window = window_.load();
  // A window destroyed meanwhile makes SendMessage fail harmlessly.
  return window != nullptr ? SendMessageW(window, message, wParam, lParam) : 0;
}

void ListBox::InsertAtEnd(const Text& line) {
  // An explicit position: the list box does not sort, even with its sort style.
  Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(line.c_str()));
}

int ListBox::GetCount() { return static_cast<int>(Send(LB_GETCOUNT, 0, 0)); }

void ListBox::SetCurSel(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBox::ResetContent() { Send(LB_RESETCONTENT, 0, 0); }

Text ListBoxLine(HWND listBox, int index) {
  const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return Text();
  Text line(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(line.data()));
  line.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return line;
}

TextList ListBoxLines(HWND listBox) {
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  TextList lines;
  for (int i = 0; i < count; ++i) lines.push_back(ListBoxLine(listBox, i));
  return lines;
}
