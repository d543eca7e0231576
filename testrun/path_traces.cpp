#include "testrun/path_traces.h"

#include "probe/call_verdict.h"
#include "support/program_closing.h"
#include "support/resolve.h"
#include "support/socket_library.h"
#include "support/text_conversions.h"
#include "testrun/run_outcome.h"

void TraceRunPaths(const TraceSettings& settings) {
  if (ProgramClosing()) return;
  SocketLibrary sockets;  // dotted addresses are parsed by the socket library
  sockets.Start(2, 2);
  const std::vector<NodeResult> rtpp = RunCallRecords(RunOutcomeSnapshot());
  TextList addresses;
  std::vector<uint32_t> nodes;
  for (const RatedNode& entry : RateNodes(rtpp)) {
    uint32_t address = 0;
    // A name that did not resolve has no path to trace.
    if (entry.verdict == Verdict::kGood || entry.verdict == Verdict::kUnresolved ||
        ResolveIPv4(WideToAnsi(entry.node->address), address) != 0) {
      continue;
    }
    addresses.push_back(entry.node->address);
    nodes.push_back(address);
  }
  if (nodes.empty()) return;
  RecordPathTracesStarted(addresses);
  RecordPathTraces(TracePaths(nodes, settings));
}
