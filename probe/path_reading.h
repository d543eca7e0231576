// What a path trace means, read the way an expert reads it: where loss begins and persists, where
// the delay jumps, and that loss at a router which does not carry on to the node is no loss.
#pragma once

#include <cstdint>
#include <vector>

#include "probe/node_result.h"
#include "probe/path_summary.h"

struct PathFinding {
  enum class Kind {
    kNothingAnswered,  // not even hop 1: ICMP blocked here or at the router
    kBrokenAfter,      // the node never answered; `hop` is the last hop that did
    kUnreachableAt,    // ... and that hop said the node is unreachable
    kLossFrom,         // loss persists from `hop` to the node; `localNetwork` when from hop 1
    kLossOnlyAtNode,
    kNoLossDuringTrace,  // the survey saw loss, the trace's node hop none: it comes and goes
    kRateLimited,        // the node lost nothing, `hops` before it did: routers limiting answers
    kDelayJump,          // the delay rises by `riseMs` at `hop`
    kNothingFound,
  } kind = Kind::kNothingFound;
  uint32_t hop = 0;
  uint32_t address = 0;
  bool localNetwork = false;
  std::vector<uint32_t> hops;
  uint32_t riseMs = 0;
};

// `node` is the node's survey record: whether the node loses or delays more than a good call allows
// is the survey's judgement; where the loss begins is read between the hops of the trace, the
// node's own hop included, each measured the same way.
std::vector<PathFinding> ReadPath(const PathTrace& trace, const NodeResult& node);
