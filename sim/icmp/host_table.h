// How each test host of the ICMP responder answers: a fixed table over 198.18.0.0/24, by the
// host's last octet, and the routers in front of some of them (see README.md).
#pragma once

#include <cstddef>
#include <cstdint>

// One router of a host's path, 198.18.1.x. Its patterns count over the packets that reach it.
struct Hop {
  uint8_t octet = 0;             // its address, 198.18.1.octet
  uint32_t delayMs = 0;          // added to every packet that reaches it, on to the node's reply
  uint32_t dropEvery = 0;        // drops the n-th, 2n-th, ... packet reaching it; 0 never
  uint32_t silentEvery = 0;      // suppresses its n-th, 2n-th, ... "time exceeded"; 0 never, 1 all
  bool forwardsNothing = false;  // answers itself, drops everything bound past it
  // Like Linux: its answers to one client come from a bucket of this many, refilled one per
  // interval; 0: no limit.
  uint32_t answerBurst = 6;
  uint32_t answerIntervalMs = 1000;
};

struct HostBehaviour {
  bool silent = false;       // never answers
  uint32_t delayMs = 0;      // added before the reply goes out
  uint32_t dropEvery = 0;    // drops the n-th, 2n-th, ... echo of the host; 0 never, 1 all
  bool corrupt = false;      // answers with the echoed data inverted
  bool unreachable = false;  // answers "host unreachable" instead of the echo
  // When set, the host's n-th echo waits delays[(n - 1) % count] ms in place of `delayMs`.
  const uint32_t* delays = nullptr;
  uint32_t delayCount = 0;
  // Of every `burstEvery` call-sized echoes (kCallSizedData bytes of data or more), drops the last
  // `burstLength`; counted apart from the others, so a survey before a call sample moves nothing,
  // and from 0 again after a pause of a second, so that each sample counts alone.
  uint32_t burstLength = 0;
  uint32_t burstEvery = 0;
  // The routers in front of the host, first hop first; none: the host is its own first hop.
  const Hop* hops = nullptr;
  uint32_t hopCount = 0;
};

// A voice packet's size and more: the call sample's echoes, not the survey's.
inline constexpr size_t kCallSizedData = 100;

// `host` in network byte order; false for addresses the responder doesn't serve.
bool BehaviourOf(uint32_t host, HostBehaviour& behaviour);

// A router's address in network byte order.
uint32_t RouterAddress(const Hop& hop);
