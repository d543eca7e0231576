// Entry point of Quorvex.exe.
#include <windows.h>

#include "app/app_base_win.h"
#include "support/http_service_library.h"
#include "support/service_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InstallServiceLibrary(CreateHttpServiceLibrary());
  ApplicationBase* const app = ApplicationBase::Current();
  const int code = app != nullptr ? app->Main(instance) : 1;
  // Workers of a run may still be going when the dialog closes. ExitProcess stops them before
  // anything is torn down; returning would run the static destructors while they still run.
  ExitProcess(static_cast<UINT>(code));
}
