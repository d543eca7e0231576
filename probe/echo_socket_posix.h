// One echo over an ICMP socket of its own, sent without waiting for its answer: CPing::Probe waits
// for one such echo, the path traces for many side by side.
#pragma once

#include <chrono>
#include <cstdint>

#include "probe/ping.h"
#include "support/handle_posix.h"

struct EchoSocket {
  Descriptor fd;
  bool datagram = false;
  uint16_t identifier = 0;
  uint16_t sequence = 0;
  int dataSize = kEchoDataSize;
  uint8_t request[8 + kMaxEchoDataSize] = {};
  std::chrono::steady_clock::time_point sent;
};

// SOCK_DGRAM for "datagram", SOCK_RAW for "raw", else 0.
int EchoSocketTypeNamed(const Text& name);
// Whether an ICMP socket of `type` can be opened here.
bool CanOpenEchoSocket(int type);

// A failure to send or receive in the numbers the Windows probe reports.
uint32_t EchoTransferFailure(int error);

// Opens a socket of `type`, sets the time to live and sends the request with `dataSize` bytes of
// data (at most kMaxEchoDataSize). False with the reason in the thread's last-error value.
bool SendEcho(EchoSocket& echo, int type, uint32_t address, uint32_t ttl,
              int dataSize = kEchoDataSize);

enum class EchoRead {
  kNothing,    // nothing of ours yet: the wait goes on
  kAnswer,     // `result` holds the answer
  kCorrupted,  // the node's reply, but with data other than ours
  kFailed,     // the reason is in the thread's last-error value
};
// Reads what the socket holds; `errorQueued` when poll reported POLLERR.
EchoRead ReadEcho(EchoSocket& echo, bool errorQueued, EchoResult& result);
