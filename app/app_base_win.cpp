#include "app/app_base_win.h"

#include "app/module_path_win.h"

namespace {
ApplicationBase* currentApplication = nullptr;
}

ApplicationBase::ApplicationBase() { currentApplication = this; }

ApplicationBase::~ApplicationBase() {
  if (currentApplication == this) currentApplication = nullptr;
}

ApplicationBase* ApplicationBase::Current() { return currentApplication; }

int ApplicationBase::Main(HINSTANCE instance) {
  instance_ = instance;
  appName_ = ExecutableBaseName();
  if (!InitInstance()) return ExitInstance();
  return Run();
}

bool ApplicationBase::InitInstance() { return true; }

int ApplicationBase::ExitInstance() { return 0; }

int ApplicationBase::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return ExitInstance();
}
