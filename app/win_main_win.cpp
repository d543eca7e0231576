// Entry point of Quorvex.exe.
#include <windows.h>

#include "app/app_base_win.h"

// MERGE(service): #include "support/http_service_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // MERGE(service): InstallServiceLibrary(CreateHttpServiceLibrary());
  ApplicationBase* const app = ApplicationBase::Current();
  return app != nullptr ? app->Main(instance) : 1;
}
