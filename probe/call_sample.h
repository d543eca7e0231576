// A call-like sample of the Rtpp nodes, after the surveys: echoes 20 ms apart, a voice frame's
// rate, each the size of an RTP packet of G.711, for 6 s, every node side by side. A voice packet
// later than the survey's wait is lost to a call anyway.
#pragma once

#include <cstdint>
#include <vector>

#include "probe/node_result.h"
#include "probe/path_trace.h"

inline constexpr uint32_t kCallIntervalMs = 20;
inline constexpr uint32_t kCallDurationMs = 6000;
inline constexpr uint32_t kCallEchoWaitMs = 500;
inline constexpr int kCallDataSize = 172;  // the RTP header and 160 bytes of G.711

struct CallSettings {
  uint32_t durationMs = kCallDurationMs;
  EchoFlightFactory makeFlight;  // empty: the platform's (MakeEchoFlight)
};

// One record per address (network byte order), as the survey keeps its figures: echoes sent and
// answered, their round trips in the order sent, and the most lost in a row. With up to
// kMaxEchoesInFlight / 25 nodes losing every echo the spacing holds; past that it stretches and
// fewer are sent. Once the program is closing no echo starts, and it returns when those under way
// have ended.
std::vector<NodeResult> SampleCalls(const std::vector<uint32_t>& addresses,
                                    const CallSettings& settings);
