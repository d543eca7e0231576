// Echoes with a time to live in flight side by side on one thread: each sent at once, the answers
// collected as they come, so that one thread paces all the path traces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "probe/ping.h"
#include "support/text.h"

struct EchoOutcome {
  enum class Kind {
    kAnswered,  // `result` holds who answered, how and when
    kTimedOut,  // nothing came back in the whole wait, or the node's reply came back corrupted
    kFailed,    // the system gave up on it early, with `error`: it says nothing of the network
  } kind = Kind::kTimedOut;
  uint64_t tag = 0;
  EchoResult result;
  uint32_t error = 0;
};

class EchoFlight {
 public:
  virtual ~EchoFlight() = default;
  // Sends an echo of `dataSize` bytes (at most kMaxEchoDataSize) to `address` (network byte order)
  // with time to live `ttl`, waiting at most `waitMs`. False when the system refused it, with its
  // reason in `error`.
  virtual bool Send(uint64_t tag, uint32_t address, uint32_t ttl, uint32_t waitMs, int dataSize,
                    uint32_t& error) = 0;
  // Waits up to `waitMs` for echoes to end and hands over every one that has.
  virtual std::vector<EchoOutcome> Collect(uint32_t waitMs) = 0;
  virtual size_t inFlight() const = 0;
};

// The platform's echo facility for the traces and the call sample; null when there is none, `why`
// saying what is missing. Destroying it waits for the echoes still under way, at most their wait.
std::unique_ptr<EchoFlight> MakeEchoFlight(Text& why);

// Makes an echo facility; tests stand in for the platform's with one.
using EchoFlightFactory = std::function<std::unique_ptr<EchoFlight>(Text& why)>;
