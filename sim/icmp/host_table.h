// How each test host of the ICMP responder answers: a fixed table over 198.18.0.0/24, by the
// host's last octet (see README.md).
#pragma once

#include <cstdint>

struct HostBehaviour {
  bool silent = false;       // never answers
  uint32_t delayMs = 0;      // added before the reply goes out
  uint32_t dropEvery = 0;    // drops the n-th, 2n-th, ... echo of the host; 0 never, 1 all
  bool corrupt = false;      // answers with the echoed data inverted
  bool unreachable = false;  // answers "host unreachable" instead of the echo
  // When set, the host's n-th echo waits delays[(n - 1) % count] ms in place of `delayMs`.
  const uint32_t* delays = nullptr;
  uint32_t delayCount = 0;
};

// `host` in network byte order; false for addresses the responder doesn't serve.
bool BehaviourOf(uint32_t host, HostBehaviour& behaviour);
