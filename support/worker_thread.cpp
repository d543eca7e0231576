#include "support/worker_thread.h"

#include <atomic>
#include <system_error>
#include <utility>

namespace {

std::atomic<int> failuresToInject{0};

bool InjectedFailure() {
  int left = failuresToInject.load();
  while (left > 0) {
    if (failuresToInject.compare_exchange_weak(left, left - 1)) return true;
  }
  return false;
}

}  // namespace

bool StartThread(std::thread& thread, std::function<void()> fn) {
  if (InjectedFailure()) return false;
  try {
    thread = std::thread(std::move(fn));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

bool StartDetachedThread(std::function<void()> fn) {
  std::thread thread;
  if (!StartThread(thread, std::move(fn))) return false;
  thread.detach();
  return true;
}

void FailNextThreadStartsForTest(int count) { failuresToInject.store(count); }
