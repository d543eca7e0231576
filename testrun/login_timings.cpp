#include "testrun/login_timings.h"

#include <atomic>

namespace {
std::atomic<long long> attemptTimeoutMs{kLoginAttemptTimeout.count()};
}

std::chrono::milliseconds LoginAttemptTimeout() {
  return std::chrono::milliseconds(attemptTimeoutMs.load());
}

void SetLoginAttemptTimeoutForTest(std::chrono::milliseconds timeout) {
  attemptTimeoutMs.store(timeout.count());
}
