#include "shell/main_window.h"

#include <atomic>

namespace {
std::atomic<MainWindow*> appMainWindow{nullptr};
}

MainWindow* GetAppMainWindow() { return appMainWindow.load(); }

void SetAppMainWindow(MainWindow* window) { appMainWindow.store(window); }
