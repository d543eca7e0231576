// Entry point of Quorvex.exe.
#include <windows.h>

#include "app/app_base_win.h"
#include "service/http_service_library.h"
#include "support/service_library.h"
#include "testrun/program_close.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The library search was restricted before the C runtime started (app/process_start_win.cpp).
  InstallServiceLibrary(CreateHttpServiceLibrary());
  ApplicationBase* const app = ApplicationBase::Current();
  const int code = app != nullptr ? app->Main(instance) : 1;
  CloseRun();
  // Then the process ends outright. Returning would run the static destructors under the
  // workers, and ExitProcess every library's detach code, which can wait forever for a lock (the
  // heap's, say) that a stopped worker held. The run log is written unbuffered: nothing to flush.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return code;
}
