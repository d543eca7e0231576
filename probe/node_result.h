// One probed server node.
#pragma once

#include <cstdint>
#include <vector>

#include "support/text.h"

struct NodeResult {
  int32_t type = 0;    // a NodeType
  Text address;        // dotted IPv4, or the host text when it didn't resolve
  Text url;            // as registered
  int32_t delay = 1;   // mean round-trip time in ms over the answered echoes, at least 1
  int32_t lost = 100;  // percentage of echoes without a valid answer; 100: unreachable
  // Kept for the report's call quality; the list and the run log show only delay and loss.
  int32_t echoes = 0;                // echoes sent
  std::vector<uint32_t> roundTrips;  // each answered echo's round-trip time in ms, in order
  bool resolved = false;             // `address` came from the resolver, not the host text
};
