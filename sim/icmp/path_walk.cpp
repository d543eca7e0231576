#include "sim/icmp/path_walk.h"

#include <algorithm>

namespace {

bool Hits(uint64_t count, uint32_t every) { return every != 0 && count % every == 0; }

}  // namespace

PathEnd PathWalk::Walk(const HostBehaviour& host, uint8_t ttl, uint32_t client, uint64_t nowMs) {
  PathEnd end;
  // Hop i (from 1) answers a request sent with time to live i; more goes on to the host.
  const uint32_t boundFor = ttl > host.hopCount ? host.hopCount + 1 : (ttl == 0 ? 1 : ttl);
  for (uint32_t i = 1; i <= host.hopCount; ++i) {
    const Hop& hop = host.hops[i - 1];
    if (Hits(++reached_[{hop.octet, boundFor}], hop.dropEvery)) return end;
    end.delayMs += hop.delayMs;
    if (boundFor == i) {
      if (hop.answerBurst != 0) {
        // The token bucket of Linux's ICMP rate limit, in milliseconds of credit.
        Bucket& bucket = buckets_[{hop.octet, client}];
        const uint64_t full = uint64_t{hop.answerBurst} * hop.answerIntervalMs;
        bucket.tokensMs =
            bucket.used ? std::min(full, bucket.tokensMs + (nowMs - bucket.lastMs)) : full;
        bucket.used = true;
        bucket.lastMs = nowMs;
        if (bucket.tokensMs < hop.answerIntervalMs) return end;
        bucket.tokensMs -= hop.answerIntervalMs;
      }
      if (Hits(++answers_[hop.octet], hop.silentEvery)) return end;
      end.kind = PathEnd::Kind::kTimeExceeded;
      end.router = RouterAddress(hop);
      return end;
    }
    if (hop.forwardsNothing) return end;
  }
  end.kind = PathEnd::Kind::kDelivered;
  return end;
}
