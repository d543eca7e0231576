// The checks each platform's Ping makes of what comes back before it believes it: pure functions
// of the bytes received, so they are tested and fuzzed on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "probe/ping.h"

// What a packet received on the raw or datagram ICMP socket is to the echo waiting for it.
enum class EchoReplyMatch {
  kOther,      // not our reply (someone else's, too short, an error report): the wait goes on
  kOurs,       // our reply, echoing a prefix of the data we sent
  kCorrupted,  // our reply with data we did not send, or more of it than we sent
};

// `packet` starts with its IPv4 header; `sentData` holds the `sentSize` bytes sent after the
// 8-byte ICMP header of the request.
EchoReplyMatch MatchEchoReply(const uint8_t* packet, int length, uint16_t sequence,
                              uint16_t identifier, const uint8_t* sentData,
                              int sentSize = kEchoDataSize);

// A "time exceeded" (type 11) or "destination unreachable" (type 3) message, `packet` starting
// with its IPv4 header, that quotes our request with this identifier and sequence: its type, else
// 0. The quote is the request's IPv4 header and at least the first 8 bytes of its ICMP message.
int MatchEchoError(const uint8_t* packet, int length, uint16_t sequence, uint16_t identifier);

// The echoed data the ICMP library reports, `dataSize` bytes at address `data`, lies wholly inside
// the reply buffer and is all 0x45, the byte every request carries; no data at all passes. The
// address is compared as a number and read only once it is known to lie inside.
bool EchoedDataIntact(const unsigned char* reply, size_t replySize, std::uintptr_t data,
                      size_t dataSize);
