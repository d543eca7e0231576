#include "app/app_base_win.h"

#include "support/platform_files.h"

namespace {

ApplicationBase* currentApplication = nullptr;

// The executable's file name without folder and extension ("Quorvex" for ...\Quorvex.exe).
Text ExecutableBaseName() {
  const Text path = platform::ExecutablePath();
  const size_t slash = path.find_last_of(L"\\/");
  Text name = slash == Text::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != Text::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

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
