#include "probe/probe_threads.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

struct ProbeThreads {
  std::mutex lock;
  std::condition_variable changed;
  size_t alive = 0;
  size_t slots = 0;
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

size_t TakeEchoSlots(size_t wanted) {
  ProbeThreads& state = State();
  std::lock_guard<std::mutex> hold(state.lock);
  if (state.closing) return 0;
  const size_t taken = state.alive + state.slots;
  const size_t granted =
      taken >= kMaxEchoesInFlight ? 0 : std::min(wanted, kMaxEchoesInFlight - taken);
  state.slots += granted;
  return granted;
}

void ReturnEchoSlots(size_t count) {
  ProbeThreads& state = State();
  std::lock_guard<std::mutex> hold(state.lock);
  state.slots -= count < state.slots ? count : state.slots;
  state.changed.notify_all();
}

bool CloseProbing(uint32_t timeoutMs) {
  ProbeThreads& state = State();
  std::unique_lock<std::mutex> hold(state.lock);
  state.closing = true;
  return state.changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                [&] { return state.alive == 0 && state.slots == 0; });
}
