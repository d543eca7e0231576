// The hops of each traced path, from the echoes of all the traces: what the report shows and the
// reading reads.
#pragma once

#include <cstdint>
#include <vector>

#include "probe/trace_echo.h"
#include "support/text.h"

struct PathHop {
  uint32_t ttl = 0;
  uint32_t address = 0;  // the one that answered most often here, a tie to the first seen
  uint32_t sent = 0;
  uint32_t answered = 0;
  uint64_t roundTripSum = 0;  // ms, over the answered
  uint32_t fastest = 0;       // ms
  bool unreachable = false;   // said "destination unreachable" to a node that never answered
  bool node = false;          // the node's own hop

  uint32_t LostPercent() const { return sent == 0 ? 100 : (sent - answered) * 100 / sent; }
  uint32_t MeanMs() const {
    return answered == 0 ? 0 : static_cast<uint32_t>(roundTripSum / answered);
  }
};

struct PathTrace {
  uint32_t node = 0;  // network byte order
  std::vector<PathHop>
      hops;  // ttl 1 up to the node's hop, the unreachable one, or the highest sent
  bool ended = false;
  Text failure;  // why the trace could not run; empty when it ran
};

// The paths of `nodes`, echoes[i] being those of nodes[i]. The node's hop is the lowest time to
// live at which the node itself answered, and only its echoes there count for it; echoes sent past
// it do not count. A router hop also counts the "time exceeded" and the silence that other nodes'
// echoes met at the same time to live where the same router answered them: it is one hop of all
// those paths. A "destination unreachable" ends the path only where the node never answered.
std::vector<PathTrace> SummarisePaths(const std::vector<uint32_t>& nodes,
                                      const std::vector<std::vector<TraceEcho>>& echoes);
