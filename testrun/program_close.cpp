#include "testrun/program_close.h"

#include <algorithm>
#include <thread>

#include "probe/ping_batch.h"
#include "probe/probe_threads.h"
#include "support/program_closing.h"
#include "support/service_library.h"
#include "support/worker_thread.h"

static_assert(kCloseLogoutLimit <= kCloseBudget, "a logout begun at the close has time to end");
static_assert(kEchoTimeoutMs < kCloseBudget.count(), "so has the echo under way");

void CloseRun() {
  BeginProgramClose();
  const auto deadline = std::chrono::steady_clock::now() + kCloseBudget;
  // EndSessionsOnClose returns by the deadline; the requests it leaves run on threads of their own.
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
