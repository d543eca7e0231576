// One echo of the path traces as it came back, and the times that pace them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "probe/ping.h"

inline constexpr uint32_t kTraceMaxTtl = 30;
inline constexpr uint32_t kTraceRounds = 10;
inline constexpr uint32_t kTraceEchoTimeoutMs = 1000;
// A Linux router answers "time exceeded" and "unreachable" to one client with a burst of 6, then
// one a second; no address is asked more often than that, with a little to spare for jitter.
inline constexpr uint32_t kTraceAnswerIntervalMs = 1030;
// The first echo of a time to live follows the one before by this much, so that the node's reply
// or an "unreachable" from a near hop can arrive before echoes past it go out.
inline constexpr uint32_t kTraceSweepStepMs = 10;
// All traces of a run together: one node, and one second more for each further node it shares the
// hops' time with while their addresses are still unknown, up to the most.
inline constexpr uint32_t kTraceLimitMs = 11000;
inline constexpr uint32_t kTraceLimitMaxMs = 15000;

struct TraceEcho {
  uint32_t ttl = 0;
  EchoAnswer answer = EchoAnswer::kOther;  // kOther: nothing came back in the whole wait
  uint32_t from = 0;                       // network byte order
  uint32_t roundTripMs = 0;
};

// The traces' limit for `nodes` traced side by side.
uint32_t TraceLimitMs(size_t nodes);
