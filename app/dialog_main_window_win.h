// What workers may do to the main dialog, over its window handle.
#pragma once

#include <windows.h>

#include <atomic>

#include "shell/main_window.h"

class DialogMainWindow : public MainWindow {
 public:
  // One object for the whole process, never freed: detached workers keep a pointer to it.
  static DialogMainWindow& ForProcess();

  void Attach(HWND dialog) { dialog_.store(dialog); }
  // After this every call does nothing.
  void Detach() { dialog_.store(nullptr); }

  void EnableTestButton() override;
  void SetLocalAddressText(const Text& text) override;

 private:
  DialogMainWindow() = default;

  std::atomic<HWND> dialog_{nullptr};
};
