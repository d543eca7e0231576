// Where a path to a media relay breaks: echoes to the node with time to live 1 to 30, in rounds,
// each hop's answers gathered into its loss and delay.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "probe/ping.h"
#include "support/text.h"

inline constexpr uint32_t kTraceMaxTtl = 30;
inline constexpr uint32_t kTraceRounds = 10;
inline constexpr uint32_t kTraceEchoTimeoutMs = 1000;
// Routers commonly answer "time exceeded" about once a second with a small burst: no hop gets
// more than two echoes a second.
inline constexpr uint32_t kTraceRoundIntervalMs = 500;
// All traces of a run together.
inline constexpr uint32_t kTraceLimitMs = 6000;
// In flight in the whole process: Wine serves 256 and refuses the rest after sending them.
inline constexpr uint32_t kMaxTraceEchoesInFlight = 128;

// One echo of a trace as it came back.
struct TraceEcho {
  uint32_t ttl = 0;
  EchoAnswer answer = EchoAnswer::kOther;  // kOther: no answer
  uint32_t from = 0;                       // network byte order
  uint32_t roundTripMs = 0;
};

struct PathHop {
  uint32_t ttl = 0;
  uint32_t address = 0;  // the one that answered most often here, a tie to the first seen
  uint32_t sent = 0;
  uint32_t answered = 0;
  uint64_t roundTripSum = 0;  // ms, over the answered
  uint32_t fastest = 0;       // ms
  bool unreachable = false;   // said "destination unreachable": the path ends here
  bool node = false;          // the node's own hop

  uint32_t LostPercent() const { return sent == 0 ? 100 : (sent - answered) * 100 / sent; }
  uint32_t MeanMs() const {
    return answered == 0 ? 0 : static_cast<uint32_t>(roundTripSum / answered);
  }
};

struct PathTrace {
  uint32_t node = 0;          // network byte order
  std::vector<PathHop> hops;  // ttl 1 up to the node's hop, the unreachable one, or 30
  bool ended = false;
  Text failure;  // why the trace could not run; empty when it ran
};

// The hops of one node from its echoes. The node's hop is the lowest time to live at which the
// node itself answered; echoes with a higher one count as the node's.
PathTrace SummarisePath(uint32_t node, const std::vector<TraceEcho>& echoes);

// One echo with a time to live, made per worker thread on that thread; false when nothing answered.
using TraceEchoFunction =
    std::function<bool(EchoResult& result, uint32_t address, uint32_t ttl, uint32_t timeoutMs)>;
// Null when the platform has no echo facility for it; `why` says what is missing.
using TraceEchoFactory = std::function<TraceEchoFunction(Text& why)>;

struct TraceSettings {
  uint32_t roundIntervalMs = kTraceRoundIntervalMs;
  uint32_t echoTimeoutMs = kTraceEchoTimeoutMs;
  uint32_t limitMs = kTraceLimitMs;
  TraceEchoFactory makeEcho;  // empty: through a CPing
};

// Traces every node side by side within `limitMs`, at most kMaxTraceEchoesInFlight echoes at a
// time. Once the program is closing no new echo starts; those under way end within their wait.
std::vector<PathTrace> TracePaths(const std::vector<uint32_t>& nodes,
                                  const TraceSettings& settings);
