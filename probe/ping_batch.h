// Pinging many nodes at once: one probe thread per node, each pinging its node back to back for a
// fixed time, and a batch that waits for all of them with a hard limit.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "probe/node_result.h"
#include "probe/ping.h"

inline constexpr uint32_t kProbeDurationMs = 2000;
inline constexpr uint32_t kEchoTimeoutMs = 500;
inline constexpr uint32_t kBatchWaitMs = 2 * kProbeDurationMs;
// A bound on one thread's echoes, should its clock stand still; far above what 2000 ms allow.
inline constexpr uint64_t kMaxEchoesPerNode = 1000000;
// One wait of the platform covers at most this many threads.
inline constexpr size_t kMaxBatchRecords = 64;

// One echo: true and `result` filled when a valid reply came back.
using EchoFunction =
    std::function<bool(EchoResult& result, const Text& target, uint32_t timeoutMs)>;
// Makes the echo of one probe thread, on that thread.
using EchoFactory = std::function<EchoFunction()>;
// A clock in microseconds that wraps like a tick counter. Finer than the millisecond tick, so a
// silent node's fourth echo, ending a little after the probing time, always ends the probing.
using TickFunction = std::function<uint32_t()>;
uint32_t MicrosecondTicks();

// Each probe thread owns one CPing for its whole run and echoes through it.
EchoFunction MakeCPingEcho();

// The program runs with the defaults; tests shorten the times or stand in for the echo and the
// clock.
struct ProbeSettings {
  uint32_t durationMs = kProbeDurationMs;
  uint32_t echoTimeoutMs = kEchoTimeoutMs;
  uint32_t batchWaitMs = kBatchWaitMs;
  EchoFactory makeEcho;    // empty: MakeCPingEcho
  TickFunction tickCount;  // empty: MicrosecondTicks
};

struct ProbeTask {
  NodeResult* result = nullptr;  // the one record this thread fills
  uint32_t durationMs = 0;
  uint32_t echoTimeoutMs = 0;
  EchoFactory makeEcho;
  TickFunction tickCount;  // empty: MicrosecondTicks
  // Set when the batch has given up on this thread: it stops after the echo under way.
  std::shared_ptr<const std::atomic<bool>> abandoned;
  // Called once the echo is made, before the first one: waits for the start of probing and gives
  // its tick, from which this thread's probing time counts; false: leave without probing.
  std::function<bool(uint32_t& startTick)> awaitStart;
};

// Makes the thread's echo, waits for the start, then pings the record's address until `durationMs`
// have passed (the last echo starting at the latest then), and writes the mean delay of the
// answered echoes (at least 1; unchanged when none was answered) and the percentage lost. Returns
// 0; a thread not started leaves the record as it was.
unsigned ProbeThread(ProbeTask task);

class PingBatch {
 public:
  explicit PingBatch(ProbeSettings settings = {});

  // Probes every node at once. True: every thread finished in time and `nodes` holds the filled
  // records. False (sockets not ready, no nodes, more than kMaxBatchRecords, a thread that
  // couldn't start, or a thread still running at the limit): `nodes` is left as it was. A thread
  // still running then is left to finish on its own; it writes only into state it shares with
  // nobody but the batch's leftovers, never into `records` or `nodes`.
  bool Run(std::vector<NodeResult>& nodes);

  std::vector<NodeResult> records;
  bool socketsReady = false;
  // Kept with the batch's record: set by Run from the settings, which the threads follow.
  int32_t durationMs = 0;
  int32_t echoTimeoutMs = 0;

 private:
  ProbeSettings settings_;
};
