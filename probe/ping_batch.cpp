#include "probe/ping_batch.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "probe/probe_threads.h"
#include "support/program_closing.h"
#include "support/worker_thread.h"

namespace {

// Owned together by the batch and its probe threads, so a thread that outlives the batch's wait
// still writes into live memory.
struct BatchShare {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<NodeResult> filled;
  size_t finished = 0;
  std::atomic<bool> abandoned{false};

  // The start of probing: waiting until every thread is ready, then probing or abandoned. A plain
  // lock and condition: the atomic wait of the Windows runtime can miss a wake-up, which left a
  // thread waiting until the batch gave up on it.
  static constexpr int kWaiting = 0;
  static constexpr int kProbing = 1;
  static constexpr int kAbandoned = 2;
  std::mutex startLock;
  std::condition_variable startChanged;
  int start = kWaiting;
  size_t ready = 0;  // threads that have made their echo
  uint32_t startTick = 0;

  // Moves `start` from waiting to `state` (unless it has left waiting already) and wakes all.
  void Release(int state) {
    std::lock_guard<std::mutex> hold(startLock);
    if (start == kWaiting) start = state;
    startChanged.notify_all();
  }
};

}  // namespace

uint32_t MicrosecondTicks() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

EchoFunction MakeCPingEcho() {
  auto ping = std::make_shared<CPing>();
  return [ping](EchoResult& result, const Text& target, uint32_t timeoutMs) {
    return ping->Ping(result, target, timeoutMs);
  };
}

unsigned ProbeThread(ProbeTask task) {
  const EchoFunction echo = task.makeEcho ? task.makeEcho() : MakeCPingEcho();
  const TickFunction tick = task.tickCount ? task.tickCount : TickFunction(MicrosecondTicks);
  uint32_t start = 0;
  if (!task.awaitStart) {
    start = tick();
  } else if (!task.awaitStart(start)) {
    return 0;
  }
  NodeResult& record = *task.result;

  uint64_t attempts = 0;
  uint64_t answered = 0;
  uint64_t sum = 0;
  const uint64_t durationUs = uint64_t{task.durationMs} * 1000;
  for (;;) {
    ++attempts;
    EchoResult reply;
    if (echo(reply, record.address, task.echoTimeoutMs)) {
      ++answered;
      sum += reply.roundTripTime;
      record.AddRoundTrip(reply.roundTripTime);
    }
    const uint32_t elapsed = tick() - start;  // unsigned: the tick counter's wrap does no harm
    if (elapsed > durationUs || attempts >= kMaxEchoesPerNode) break;
    if (task.abandoned && task.abandoned->load()) break;
    if (ProgramClosing()) break;
  }
  if (answered > 0) {
    const uint32_t mean = static_cast<uint32_t>(sum / answered);
    record.delay = mean == 0 ? 1 : static_cast<int32_t>(mean);
  }
  record.lost = static_cast<int32_t>((attempts - answered) * 100 / attempts);
  record.echoes = static_cast<int32_t>(attempts);
  return 0;
}

PingBatch::PingBatch(ProbeSettings settings) : settings_(std::move(settings)) {}

bool PingBatch::Run(std::vector<NodeResult>& nodes) {
  if (!socketsReady) return false;
  durationMs = static_cast<int32_t>(settings_.durationMs);
  echoTimeoutMs = static_cast<int32_t>(settings_.echoTimeoutMs);
  records = nodes;
  const size_t n = records.size();
  if (n == 0 || n > kMaxBatchRecords) return false;

  auto share = std::make_shared<BatchShare>();
  share->filled.resize(n);
  const std::shared_ptr<const std::atomic<bool>> abandoned(share, &share->abandoned);

  const TickFunction tick =
      settings_.tickCount ? settings_.tickCount : TickFunction(MicrosecondTicks);
  AdmitProbeThreads(n);
  // Every thread is started before any waiting.
  std::vector<std::thread> threads(n);
  size_t started = 0;
  for (; started < n; ++started) {
    ProbeTask task;
    task.durationMs = settings_.durationMs;
    task.echoTimeoutMs = settings_.echoTimeoutMs;
    task.makeEcho = settings_.makeEcho;
    task.tickCount = settings_.tickCount;
    task.abandoned = abandoned;
    const size_t index = started;
    // Probing begins when every thread has started and made its echo (loading the ICMP library,
    // say), so no thread's start eats into the probing time of the others. All count their
    // probing time from that one moment: a thread that gets the processor late among many busy
    // ones probes less, not longer.
    task.awaitStart = [share, tick](uint32_t& startTick) {
      std::unique_lock<std::mutex> hold(share->startLock);
      if (++share->ready == share->filled.size()) {
        share->startTick = tick();
        share->start = BatchShare::kProbing;
        share->startChanged.notify_all();
      }
      share->startChanged.wait(hold, [&] { return share->start != BatchShare::kWaiting; });
      if (share->start != BatchShare::kProbing) return false;
      startTick = share->startTick;
      return true;
    };
    auto body = [share, index, record = records[index], task = std::move(task)]() mutable {
      task.result = &record;
      ProbeThread(std::move(task));
      {
        std::lock_guard<std::mutex> hold(share->lock);
        share->filled[index] = std::move(record);
        ++share->finished;
        share->changed.notify_all();
      }
      ProbeThreadsEnded();
    };
    if (!StartThread(threads[started], std::move(body))) break;
  }
  if (started < n) ProbeThreadsEnded(n - started);

  bool allFinished = false;
  {
    std::unique_lock<std::mutex> hold(share->lock);
    if (started == n) {
      const auto deadline =
          std::chrono::steady_clock::now() + std::chrono::milliseconds(settings_.batchWaitMs);
      allFinished = share->changed.wait_until(hold, deadline, [&] { return share->finished == n; });
    }
    if (!allFinished) share->abandoned = true;
  }
  if (!allFinished) {
    share->Release(BatchShare::kAbandoned);
    // Nothing of this batch is used; the threads still running end on their own.
    for (size_t i = 0; i < started; ++i) threads[i].detach();
    records.clear();
    return false;
  }
  for (std::thread& thread : threads) thread.join();
  records = std::move(share->filled);
  nodes = records;
  return true;
}
