// Entry point of Quorvex.exe.
#include <windows.h>

#include "app/app_base_win.h"
#include "probe/ping_batch.h"
#include "probe/probe_threads.h"
#include "support/http_service_library.h"
#include "support/service_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InstallServiceLibrary(CreateHttpServiceLibrary());
  ApplicationBase* const app = ApplicationBase::Current();
  const int code = app != nullptr ? app->Main(instance) : 1;
  // Workers of a run may still be going when the dialog closes. Echoes under way are let finish
  // first (at most a batch's wait), and no new batch starts: ending the process in the middle of
  // echoes can leave its exit hanging under Wine.
  CloseProbing(kBatchWaitMs);
  // Then the process ends outright. Returning would run the static destructors under the
  // workers, and ExitProcess every library's detach code, which can wait forever for a lock (the
  // heap's, say) that a stopped worker held. The run log is written unbuffered: nothing to flush.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return code;
}
