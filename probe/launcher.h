// The process-wide holder of the node lists to survey and of the last survey's results.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "probe/call_sample.h"
#include "probe/node_result.h"
#include "probe/node_type.h"
#include "probe/path_trace.h"
#include "probe/ping_batch.h"
#include "support/text.h"

// Not locked: created on the user-interface thread before any worker exists, then used by one
// worker at a time.
class Launcher {
 public:
  virtual ~Launcher();

  // Replaces the list of `type` with a copy of `urls`. An empty list changes nothing: false.
  bool AddNodeList(const TextList& urls, NodeType type);

  // Lists every registered node with its resolved address, probes all of them at once and
  // reports each one's delay and loss in the progress list and the run log. True: `results` holds
  // this survey's records and `bestNodes` the fastest reachable node of each kind found. False
  // (sockets not ready, or the probe batch failed): both keep what they held.
  bool SurveyNodes();

  // The `Rtpp` records of the last successful survey, in survey order. False, and `rtppResults`
  // untouched, before any successful survey.
  bool GetRtppResults(std::vector<NodeResult>& rtppResults) const;

  std::map<int32_t, TextList> nodeLists;  // by NodeType, ascending
  std::map<int32_t, Text> bestNodes;      // by NodeType: URL of the fastest reachable node; kept
                                          // for callers that want it, the run reads nothing of it
  std::vector<NodeResult> results;        // every record of the last successful survey

  // The program keeps the defaults; tests shorten the times or stand in for the echo.
  ProbeSettings probeSettings;
  CallSettings callSettings;    // of the call sample after the surveys
  TraceSettings traceSettings;  // of the paths the run traces after it
};

// The single Launcher, created by the first call (the dialog's initialisation) and never freed.
Launcher& GetLauncher();
