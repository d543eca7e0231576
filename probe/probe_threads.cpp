#include "probe/probe_threads.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

struct ProbeThreads {
  std::mutex lock;
  std::condition_variable changed;
  size_t alive = 0;
  bool closing = false;
};

// Never freed: detached probe threads end after the batch and may outlive everything else.
ProbeThreads& State() {
  static ProbeThreads* const state = new ProbeThreads;
  return *state;
}

}  // namespace

void AdmitProbeThreads(size_t count) {
  ProbeThreads& state = State();
  std::unique_lock<std::mutex> hold(state.lock);
  // The wait ends only with the process; `closing` never goes back.
  state.changed.wait(hold, [&] { return !state.closing; });
  state.alive += count;
}

void ProbeThreadsEnded(size_t count) {
  ProbeThreads& state = State();
  std::lock_guard<std::mutex> hold(state.lock);
  state.alive -= count < state.alive ? count : state.alive;
  state.changed.notify_all();
}

bool CloseProbing(uint32_t timeoutMs) {
  ProbeThreads& state = State();
  std::unique_lock<std::mutex> hold(state.lock);
  state.closing = true;
  return state.changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                [&] { return state.alive == 0; });
}
