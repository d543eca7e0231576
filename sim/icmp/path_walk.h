// Where an echo request to a host behind routers ends: dropped on the way, answered by the router
// where its time to live ran out, or delivered to the host.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "sim/icmp/host_table.h"

struct PathEnd {
  enum class Kind { kDropped, kTimeExceeded, kDelivered } kind = Kind::kDropped;
  uint32_t router = 0;   // network byte order, with kTimeExceeded
  uint32_t delayMs = 0;  // added by the routers the request reached
};

// Keeps the routers' pattern counters for the whole run of the responder.
class PathWalk {
 public:
  // `ttl` as the request arrived; the kernel does not lower it for packets it sends itself.
  // `client` (network byte order) and `nowMs` (any steady clock) for the routers' rate limits.
  PathEnd Walk(const HostBehaviour& host, uint8_t ttl, uint32_t client, uint64_t nowMs);

 private:
  // A hop counts apart the packets bound for each later router and for the host, so that a
  // tracer sending one echo per TTL each round cannot fall into step with a pattern: each TTL's
  // share of the loss is the hop's own.
  std::map<std::pair<uint8_t, uint32_t>, uint64_t> reached_;  // (hop, where bound) -> packets
  std::map<uint8_t, uint64_t> answers_;                       // hop -> its "time exceeded"
  struct Bucket {
    uint64_t tokensMs = 0;
    uint64_t lastMs = 0;
    bool used = false;
  };
  std::map<std::pair<uint8_t, uint32_t>, Bucket> buckets_;  // (hop, client) -> its answers left
};
