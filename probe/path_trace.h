// Where a path to a media relay breaks: echoes to the node with time to live 1 to 30, paced per
// router over all the traces of a run (probe/trace_schedule.h), each hop's answers gathered into
// its loss and delay (probe/path_summary.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "probe/echo_flight.h"
#include "probe/path_summary.h"
#include "probe/trace_schedule.h"

struct TraceSettings {
  TraceTimes times;              // a limit of 0: TraceLimitMs of the nodes traced
  EchoFlightFactory makeFlight;  // empty: the platform's (MakeEchoFlight)
  TraceSettings() { times.limitMs = 0; }
};

// Traces every node side by side on the calling thread within the limit, with at most the
// process's share of kMaxEchoesInFlight echoes out at a time. Once the program is closing no echo
// starts, and it returns when those under way have ended, each within its wait.
std::vector<PathTrace> TracePaths(const std::vector<uint32_t>& nodes,
                                  const TraceSettings& settings);
