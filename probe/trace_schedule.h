// When each echo of the path traces goes out, as a plain function of the time it is handed: one
// echo a round at every hop of every node, no address asked for an answer more than once per
// kTraceAnswerIntervalMs over all the traces, every echo given its whole wait within the limit.
//
// A router that answers "time exceeded" at the same time to live on several nodes' paths is one
// hop for all of them: it is asked once a round, by each node in turn, and its figures serve every
// path through it. Before a hop's address is known it may be any router seen at that time to live,
// so its echo waits until none of them, nor any other unknown hop there, was asked lately. An
// address that answered "unreachable" is asked half as often: a Linux router's unreachable route
// spends two answers' worth of its budget on each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "probe/trace_echo.h"

struct TraceTimes {
  uint32_t rounds = kTraceRounds;
  uint32_t answerIntervalMs = kTraceAnswerIntervalMs;
  uint32_t echoWaitMs = kTraceEchoTimeoutMs;
  uint32_t sweepStepMs = kTraceSweepStepMs;
  uint32_t limitMs = 0;  // all the traces' limit; 0: TraceLimitMs of the nodes traced
};

// One echo to send: to node `node` (its index) with time to live `ttl`, waiting `waitMs`.
struct TraceProbe {
  size_t node = 0;
  uint32_t ttl = 0;
  uint32_t waitMs = 0;
  uint64_t sentMs = 0;
};

class TraceSchedule {
 public:
  static constexpr uint64_t kNever = UINT64_MAX;

  TraceSchedule(std::vector<uint32_t> nodes, const TraceTimes& times);

  // The echoes to send at `nowMs` (from the start), at most `room`; each is in flight from now.
  std::vector<TraceProbe> Due(uint64_t nowMs, size_t room);
  // The earliest time at which Due may have more to send; kNever when nothing more will go out.
  uint64_t NextMs(uint64_t nowMs) const;
  // An echo in flight came back, or waited its whole time (answer kOther).
  void Answered(const TraceProbe& probe, const TraceEcho& echo);
  // An echo the system would not send, or that ended early without an answer: it counts for
  // nothing, and its hop is tried again after an interval.
  void NotSent(const TraceProbe& probe, uint64_t nowMs);

  bool Finished(uint64_t nowMs) const { return inFlight_ == 0 && NextMs(nowMs) == kNever; }
  size_t inFlight() const { return inFlight_; }
  // Every echo that counts, per node.
  const std::vector<std::vector<TraceEcho>>& echoes() const { return echoes_; }

 private:
  struct Hop {
    uint32_t address = 0;      // the router that answered here first; 0 while unknown
    bool unreachable = false;  // that answer was "destination unreachable": the node's own
    uint32_t counted = 0;      // echoes answered or given their whole wait, and those in flight
    uint32_t own = 0;          // echoes sent to this node here, for taking turns in a shared hop
    uint32_t ownAnswered = 0;  // of those, answered
    bool inFlight = false;
    bool started = false;
    uint64_t firstSentMs = 0;
    uint64_t retryMs = 0;
  };
  struct Node {
    uint32_t address = 0;
    uint32_t hop = 0;          // where the node itself answered; 0 while unknown
    uint32_t unreachable = 0;  // the lowest time to live that said "unreachable"; 0: none
    uint32_t reached = 0;      // the highest time to live that anything answered
    uint32_t tailRetries = 0;  // echoes sent again past it, where the first went unanswered
    std::vector<Hop> hops;     // by time to live, from 1
    uint32_t Last() const { return hop != 0 ? hop : unreachable != 0 ? unreachable : kTraceMaxTtl; }
  };

  struct Tally;  // per time to live: the echoes of each known router's hop, the routers seen there
  std::vector<Tally> Count() const;
  // The node's own hop or an "unreachable": no other node's echoes count there.
  bool OwnHop(const Node& node, uint32_t ttl) const;
  // A hop past the highest that answered, whose own echoes all went unanswered.
  bool Tail(const Node& node, uint32_t ttl) const;
  uint32_t Samples(size_t node, uint32_t ttl, const std::vector<Tally>& tally) const;
  std::vector<uint64_t> Keys(size_t node, uint32_t ttl, const std::vector<Tally>& tally) const;
  // When the next echo there may go out; kNever: none will.
  uint64_t EarliestMs(size_t node, uint32_t ttl, const std::vector<Tally>& tally) const;

  std::vector<Node> nodes_;
  std::vector<uint32_t> traced_;  // the nodes' addresses, sorted
  TraceTimes times_;
  std::map<uint64_t, uint64_t> lastAsked_;  // key -> when its last echo went out
  std::set<uint64_t> unreachableKeys_;      // addresses that said "unreachable"
  std::vector<std::vector<TraceEcho>> echoes_;
  size_t inFlight_ = 0;
};
