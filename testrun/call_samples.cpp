#include "testrun/call_samples.h"

#include <algorithm>

#include "support/program_closing.h"
#include "support/resolve.h"
#include "support/socket_library.h"
#include "support/text_conversions.h"
#include "testrun/run_outcome.h"

void SampleRunCalls(const CallSettings& settings) {
  if (ProgramClosing()) return;
  SocketLibrary sockets;  // dotted addresses are parsed by the socket library
  sockets.Start(2, 2);
  std::vector<NodeResult> nodes;
  std::vector<uint32_t> addresses;
  for (const NodeResult& record : RunRtppRecords(RunOutcomeSnapshot())) {
    uint32_t address = 0;
    const bool seen = std::any_of(nodes.begin(), nodes.end(), [&](const NodeResult& node) {
      return node.address == record.address;
    });
    if (seen || !record.resolved || ResolveIPv4(WideToAnsi(record.address), address) != 0) continue;
    nodes.push_back(record);
    addresses.push_back(address);
  }
  if (nodes.empty()) return;
  RecordCallSampleStarted();
  std::vector<NodeResult> records = SampleCalls(addresses, settings);
  for (size_t i = 0; i < nodes.size(); ++i) {
    // The node as the survey named it, with the sample's figures.
    NodeResult& record = records[i];
    record.type = nodes[i].type;
    record.address = nodes[i].address;
    record.url = nodes[i].url;
    record.resolved = true;
  }
  RecordCallSample(records);
}
