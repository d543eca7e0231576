// Entry point of Quorvex.exe.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/app_base_win.h"
#include "probe/ping_batch.h"
#include "probe/probe_threads.h"
#include "service/http_service_library.h"
#include "support/program_closing.h"
#include "support/service_library.h"
#include "support/system_library_win.h"
#include "support/worker_thread.h"

namespace {

// From the close to the end of the process, whatever a run was doing.
constexpr std::chrono::milliseconds kCloseBudget{2000};
static_assert(kCloseLogoutLimit <= kCloseBudget, "a logout begun at the close has time to end");
static_assert(kEchoTimeoutMs < kCloseBudget.count(), "so has the echo under way");

// The dialog has gone, perhaps in the middle of a run: no network step starts from now on, the
// sessions the run opened are ended, and the echoes under way are let finish; all at once and
// within kCloseBudget.
void CloseRun() {
  BeginProgramClose();
  const auto deadline = std::chrono::steady_clock::now() + kCloseBudget;
  std::thread logout;
  if (!StartThread(logout, [deadline] { EndSessionsOnClose(deadline); })) {
    EndSessionsOnClose(deadline);
  }
  // Ending the process in the middle of echoes can leave its exit hanging under Wine; each probe
  // thread stops after the echo under way once the program is closing.
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  CloseProbing(static_cast<uint32_t>(std::max<long long>(left.count(), 0)));
  if (logout.joinable()) logout.join();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // First of all: no library is to come from the executable's folder (Downloads, say).
  RestrictLibrarySearch();
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
