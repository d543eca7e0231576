// One probed server node.
#pragma once

#include <cstdint>

#include "support/text.h"

struct NodeResult {
  int32_t type = 0;    // a NodeType
  Text address;        // dotted IPv4, or the host text when it didn't resolve
  Text url;            // as registered
  int32_t delay = 1;   // mean round-trip time in ms over the answered echoes, at least 1
  int32_t lost = 100;  // percentage of echoes without a valid answer; 100: unreachable
  // Kept for the report's call quality, as running figures so the verdict compares exact values;
  // the list and the run log show only delay and loss.
  int32_t echoes = 0;          // echoes sent
  int32_t answered = 0;        // of them answered validly
  uint64_t roundTripSum = 0;   // ms, over the answered
  uint32_t fastest = 0;        // ms, the fastest answered; 0 with none
  uint32_t lastRoundTrip = 0;  // ms, the last answered
  uint64_t differenceSum = 0;  // ms, |change| from one answered echo's round trip to the next
  int32_t longestLossRun = 0;  // the most echoes lost in a row (the call sample's)
  bool resolved = false;       // `address` came from the resolver, not the host text

  // Adds one answered echo's round trip.
  void AddRoundTrip(uint32_t ms) {
    if (answered > 0) differenceSum += ms > lastRoundTrip ? ms - lastRoundTrip : lastRoundTrip - ms;
    if (answered == 0 || ms < fastest) fastest = ms;
    lastRoundTrip = ms;
    roundTripSum += ms;
    ++answered;
  }
};
