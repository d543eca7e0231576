#include "sim/stop_signal.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

std::mutex lock;
std::condition_variable changed;
bool stopping = false;

}  // namespace

void RequestStop() {
  {
    std::lock_guard<std::mutex> guard(lock);
    stopping = true;
  }
  changed.notify_all();
}

bool StopRequested() {
  std::lock_guard<std::mutex> guard(lock);
  return stopping;
}

bool SleepUnlessStopped(double seconds) {
  std::unique_lock<std::mutex> guard(lock);
  const auto wait = std::chrono::duration<double>(seconds);
  return !changed.wait_for(guard, wait, [] { return stopping; });
}
