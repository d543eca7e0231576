// A call-like sample of the Rtpp nodes, after the surveys: echoes 20 ms apart, a voice frame's
// rate, each the size of an RTP packet of G.711, for 6 s, every node side by side. A voice packet
// later than the survey's wait is lost to a call anyway.
#pragma once

#include <cstdint>
#include <vector>

#include "probe/echo_flight.h"
#include "probe/node_result.h"
#include "support/text.h"

inline constexpr uint32_t kCallIntervalMs = 20;
inline constexpr uint32_t kCallDurationMs = 6000;
inline constexpr uint32_t kCallEchoWaitMs = 500;
inline constexpr int kCallDataSize = 172;  // the RTP header and 160 bytes of G.711

// A shorter sample for tests that are not about call quality: "N", in ms, from five echoes' time
// up to the program's own length; anything else keeps that length, so that no setting makes the
// sample longer or too short to judge.
uint32_t CallDurationFrom(const Text& setting);

struct CallSettings {
  uint32_t durationMs = kCallDurationMs;
  EchoFlightFactory makeFlight;  // empty: the platform's (MakeEchoFlight)
};

// One record per address (network byte order), as the survey keeps its figures: echoes sent and
// answered, their round trips in the order sent, and the most lost in a row. With up to
// kMaxEchoesInFlight / 25 nodes losing every echo the spacing holds; past that it stretches and
// fewer are sent. A node whose first five ended echoes brought "unreachable" and no reply gets no
// more. When a node answered nothing, it returns only once the routers that may answer for it had
// time to again. Once the program is closing no echo starts, and it returns when those under way
// have ended.
std::vector<NodeResult> SampleCalls(const std::vector<uint32_t>& addresses,
                                    const CallSettings& settings);
