// The progress list over a list box window. Workers call it from their threads; every call is a
// synchronous message that the list's own thread handles.
#pragma once

#include <windows.h>

#include <atomic>

#include "shell/progress_list.h"

class ListBox : public ProgressList {
 public:
  // One object for the whole process, never freed: detached workers may still append after the
  // dialog has closed.
  static ListBox& ForProcess();

  void Attach(HWND listBox) { window_.store(listBox); }
  // After this every call does nothing.
  void Detach() { window_.store(nullptr); }
  HWND GetSafeHwnd() const { return window_.load(); }

  void InsertAtEnd(const Text& line) override;
  int GetCount() override;
  void SetCurSel(int index) override;
  void ResetContent() override;

 private:
  ListBox() = default;
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

  std::atomic<HWND> window_{nullptr};
};

// Reading a list box on its own thread, where each message is a plain call.
Text ListBoxLine(HWND listBox, int index);
TextList ListBoxLines(HWND listBox);
